# Sourced by ./play and ./test: installs what is missing from Debian's packages and
# builds the program. Installs only when a package is missing, through sudo when not
# run as root.

# Needed to build and run the game.
AKARI_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libx11-dev libfreetype-dev
  libfontconfig-dev libfluidsynth-dev libsamplerate0-dev libsndfile1-dev libpng-dev libgtest-dev
  libbenchmark-dev fonts-ipafont-gothic fonts-ipafont-mincho timgm6mb-soundfont
  open-jtalk open-jtalk-mecab-naist-jdic hts-voice-nitech-jp-atr503-m001 flite mecab edict)
# The voice data is in Debian's contrib section.
AKARI_CONTRIB_PACKAGES=(hts-voice-nitech-jp-atr503-m001)
# Needed only by the tests: a virtual X server, a window manager and the tools that
# drive and photograph the real window, clang with its sanitizer and fuzzer runtimes
# for the checking builds, a face with characters the IPA faces lack, and what builds the
# Debian package (file) and checks it (lintian, appstream, desktop-file-utils, man-db),
# and Python for the check of the layers' includes.
AKARI_TEST_PACKAGES=(xvfb xauth openbox xdotool wmctrl x11-utils imagemagick clang
  libclang-rt-14-dev fonts-dejavu-core file lintian appstream desktop-file-utils man-db
  python3)

akari_missing_packages() {
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

# Adds contrib to every Debian source that takes main without it, in the one-line format
# (/etc/apt/sources.list, sources.list.d/*.list) and in the deb822 format of Debian 12
# (sources.list.d/debian.sources). root is prepended to those paths ("" for this
# machine); the rest of the arguments prefix the editing command (sudo).
akari_enable_contrib() {
  local root=$1 f
  shift
  for f in "$root"/etc/apt/sources.list "$root"/etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    "$@" sed -E -i '/^[[:space:]]*deb(-src)?[[:space:]].*debian/{
      /[[:space:]]contrib([[:space:]]|$)/!s/[[:space:]]main([[:space:]]|$)/ main contrib\1/}' "$f" ||
      return 1
  done
  f="$root"/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ]; then
    "$@" sed -E -i '/^Components:/{
      /[[:space:]]contrib([[:space:]]|$)/!s/[[:space:]]main([[:space:]]|$)/ main contrib\1/}' "$f" ||
      return 1
  fi
}

akari_install() {
  local missing
  missing=$(akari_missing_packages "$@")
  [ -z "$missing" ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "akari: these packages are missing and sudo is not available:" $missing >&2
      return 1
    fi
    sudo=(sudo)
  fi
  echo "akari: installing" $missing
  if [ -n "$(akari_missing_packages "${AKARI_CONTRIB_PACKAGES[@]}")" ] &&
     grep -q '^12' /etc/debian_version 2>/dev/null; then
    echo "akari: enabling Debian's contrib section in the apt sources"
    akari_enable_contrib "" "${sudo[@]}" || return 1
  fi
  "${sudo[@]}" apt-get update -q || return 1
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q $missing || return 1
}

akari_build() {
  if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release || return 1
  fi
  cmake --build build -j2 || return 1
}

# A checking build of the tests with clang in its own folder: akari_check_build DIR
# SANITIZERS "CMAKE_ARGS" [TARGET...] (every target when none is named). It takes the
# main build's game folder as it is, rather than make and check the assets again.
akari_check_build() {
  local dir=$1 sanitize=$2 args=$3 targets=() assets=$PWD/build/game
  shift 3
  [ $# -gt 0 ] && targets=(--target "$@")
  # Configured each time (a few seconds): a target named may be newer than the folder.
  # shellcheck disable=SC2086
  CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DAKARI_SANITIZE="$sanitize" -DAKARI_SHARED_ASSETS="$assets" $args >/dev/null || return 1
  cmake --build "$dir" -j2 "${targets[@]}" || return 1
}
