# Run by CPack once it has written the packages, uncompressed: dpkg-deb builds each
# again, compressed with xz, with what CPack gets wrong put right. Its Installed-Size
# counts a directory as 4 KiB and a link as the file it leads to; here it is counted as
# dpkg-gencontrol counts it: every file and link its size in KiB rounded up, every
# directory 1 KiB. The debug package's md5sums name the files by CPack's own folder, and
# it has no documentation: the sums are taken again, and its documentation folder leads
# to the game's, with the game's copyright and changelog, as Debian's debug packages do.
find_program(DPKG_DEB dpkg-deb REQUIRED)
# xz at dpkg-deb's own level; the install test, to which only the format matters, asks
# for the fastest (cpack -D CPACK_AKARI_XZ_LEVEL=0).
if(NOT DEFINED CPACK_AKARI_XZ_LEVEL)
  set(CPACK_AKARI_XZ_LEVEL 6)
endif()

# Every entry of the package's tree but its control folder: sets ${out} to the files,
# ${out}_kib to the installed size.
function(package_entries tree out)
  set(kib 1)  # the package's root
  set(files)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true "${tree}/*")
  foreach(entry IN LISTS entries)
    file(RELATIVE_PATH name "${tree}" "${entry}")
    if(name MATCHES "^DEBIAN(/|$)")
      continue()
    endif()
    if(IS_SYMLINK "${entry}")
      file(READ_SYMLINK "${entry}" target)
      string(LENGTH "${target}" bytes)
    elseif(IS_DIRECTORY "${entry}")
      set(bytes 1)
    else()
      file(SIZE "${entry}" bytes)
      list(APPEND files "${name}")
    endif()
    math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
  endforeach()
  set(${out} "${files}" PARENT_SCOPE)
  set(${out}_kib ${kib} PARENT_SCOPE)
endfunction()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(tree "${package}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND ${DPKG_DEB} --raw-extract "${package}" "${tree}"
    COMMAND_ERROR_IS_FATAL ANY)
  file(READ "${tree}/DEBIAN/control" control)
  if(control MATCHES "\nPackage-Type: ddeb\n" AND control MATCHES "\nDepends: ([^ ]+) \\(=")
    set(game ${CMAKE_MATCH_1})
    string(REGEX MATCH "(^|\n)Package: [^\n]+" name "${control}")
    string(REGEX REPLACE ".*Package: " "" name "${name}")
    file(MAKE_DIRECTORY "${tree}/usr/share/doc")
    file(CREATE_LINK ${game} "${tree}/usr/share/doc/${name}" SYMBOLIC)
  endif()

  package_entries("${tree}" files)
  set(sums)
  foreach(file IN LISTS files)
    file(MD5 "${tree}/${file}" sum)
    string(APPEND sums "${sum}  ${file}\n")
  endforeach()
  file(WRITE "${tree}/DEBIAN/md5sums" "${sums}")
  if(NOT control MATCHES "\nInstalled-Size: [0-9]+\n")
    message(FATAL_ERROR "${package} has no Installed-Size to count again")
  endif()
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${files_kib}\n"
    control "${control}")
  file(WRITE "${tree}/DEBIAN/control" "${control}")

  execute_process(COMMAND ${DPKG_DEB} --root-owner-group -Zxz -z${CPACK_AKARI_XZ_LEVEL} --build "${tree}" "${package}"
    COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
