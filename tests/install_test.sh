#!/usr/bin/env bash
# Installing like a Linux game: cmake --install into a temporary prefix gives the game
# folder, the command in bin/, the desktop entry, its icons, the manual page, the licences
# and the metainfo; the installed program, its folder made read-only (a read-only bind
# mount in a user namespace: file modes do not stop root), saves under
# $XDG_DATA_HOME/akari/. CPack's Debian package holds the same with the command in games/,
# and passes lintian, the AppStream and desktop entry validators without an error or a
# warning; its copyright file gives each file the right licence.
# Usage: install_test.sh BUILD_DIR. Exit 77: no user namespaces or no X server, skipped.
set -u
BUILD=$1 SOURCE=$(cd "$(dirname "$0")/.." && pwd)
. "$(dirname "$0")/xvfb_session.sh"

fail() { echo "FAIL: $*"; tail -n +1 "$WORK"/*.log 2>/dev/null; exit 1; }
PREFIX=$WORK/prefix GAME_DIR=$WORK/prefix/lib/akari

# The validators' complaints: none may be an error or a warning (hints and notes may).
validate_desktop_entry() {
  local report
  report=$(desktop-file-validate "$1" 2>&1) && ! grep -q 'error:\|warning:' <<<"$report" ||
    fail "desktop-file-validate $1: $report"
}

cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "cmake --install"
[ "$(readlink -f "$PREFIX/bin/akari")" = "$GAME_DIR/akari" ] || fail "bin/akari does not lead to the game folder"
[ ! -e "$PREFIX/games" ] || fail "cmake --install made games/, which only the package has"
for asset in tit.sad panel.sad message.sad v_minato_001.sad; do
  [ -f "$GAME_DIR/$asset" ] || fail "$asset is not in the game folder"; done
grep -qx 'Exec=akari' "$PREFIX/share/applications/akari.desktop" &&
  grep -qx 'Icon=akari' "$PREFIX/share/applications/akari.desktop" || fail "desktop entry"
validate_desktop_entry "$PREFIX/share/applications/akari.desktop"
for size in 48 128 256; do
  icon=$PREFIX/share/icons/hicolor/${size}x$size/apps/akari.png
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x$size" ] || fail "icon $icon"
done
for doc in man/man6/akari.6.gz doc/akari/copyright doc/akari/changelog.gz metainfo/org.example.akari.metainfo.xml; do
  [ -s "$PREFIX/share/$doc" ] || fail "share/$doc is missing"; done
echo "ok: installed program, game folder, desktop entry, three icons, manual page and licences"

# The package: both built, compressed with xz at its fastest (a release's takes minutes),
# the processor given up to the real-window tests running beside this one.
rm -f "$BUILD"/package/akari*deb
(cd "$BUILD" && nice -n 19 cpack -D CPACK_AKARI_XZ_LEVEL=0 >"$WORK/cpack.log" 2>&1) || fail "cpack"
DEB=$(ls "$BUILD"/package/akari_*.deb | head -n 1)
DBGSYM=$(ls "$BUILD"/package/akari-dbgsym_*.ddeb | head -n 1)
[ -f "$DEB" ] && [ -f "$DBGSYM" ] || fail "cpack made no .deb and -dbgsym .ddeb"
for package in "$DEB" "$DBGSYM"; do
  ar t "$package" | grep -qx 'data.tar.xz' || fail "$package is not compressed with xz: $(ar t "$package")"
done
ROOT=$WORK/deb
dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb -x"
[ "$(readlink "$ROOT/usr/games/akari")" = ../lib/akari/akari ] || fail "/usr/games/akari does not lead to the program"
[ ! -e "$ROOT/usr/bin" ] || fail "the package has /usr/bin"
for file in usr/lib/akari/tit.sad usr/lib/akari/speech/title.opus usr/share/icons/hicolor/256x256/apps/akari.png \
  usr/share/man/man6/akari.6.gz usr/share/doc/akari/changelog.gz; do
  [ -f "$ROOT/$file" ] || fail "the .deb lacks $file"; done
grep -qx 'Exec=/usr/games/akari' "$ROOT/usr/share/applications/akari.desktop" ||
  fail "the package's desktop entry does not run /usr/games/akari"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for package in fonts-ipafont-gothic fonts-ipafont-mincho timgm6mb-soundfont libsdl2-2.0-0 libfluidsynth3; do
  grep -q "$package" <<<"$DEPENDS" || fail "the .deb does not depend on $package"; done
echo "ok: the .deb holds /usr/games/akari and depends on: $DEPENDS"

# Installed-Size as dpkg counts it: each file or link its KiB rounded up, a folder 1 KiB.
for package in "$DEB" "$DBGSYM"; do
  counted=$(dpkg-deb -c "$package" | awk '$1 ~ /^d/ || $1 ~ /^l/ { kib += 1; next }
    { kib += int(($3 + 1023) / 1024) } END { print kib }')
  stated=$(dpkg-deb -f "$package" Installed-Size)
  [ "$counted" = "$stated" ] || fail "$package states Installed-Size $stated, holds $counted KiB"
done
# The debug symbols are the shipped program's.
build_id=$(readelf -n "$ROOT/usr/lib/akari/akari" | sed -n 's/.*Build ID: //p')
[ -n "$build_id" ] && [ "$(dpkg-deb -f "$DBGSYM" Build-Ids)" = "$build_id" ] &&
  dpkg-deb -c "$DBGSYM" | grep "/usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug$" >/dev/null ||
  fail "the -dbgsym package does not hold the symbols of build $build_id"
echo "ok: Installed-Size $(dpkg-deb -f "$DEB" Installed-Size) KiB; debug symbols of build $build_id apart"

# lintian, the AppStream validator and the desktop entry's.
lintian --fail-on error,warning "$DEB" "$DBGSYM" >"$WORK/lintian.log" 2>&1 &&
  ! grep -q '^[EW]:' "$WORK/lintian.log" || fail "lintian: $(cat "$WORK/lintian.log")"
METAINFO=$ROOT/usr/share/metainfo/org.example.akari.metainfo.xml
appstreamcli validate --no-net "$METAINFO" >"$WORK/appstream.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$WORK/appstream.log")"
appstreamcli validate-tree --no-net "$ROOT" >"$WORK/appstream.log" 2>&1 ||
  fail "appstreamcli validate-tree: $(cat "$WORK/appstream.log")"
validate_desktop_entry "$ROOT/usr/share/applications/akari.desktop"
report=$(MANWIDTH=80 man --warnings -l "$ROOT/usr/share/man/man6/akari.6.gz" 2>&1 >/dev/null)
[ -z "$report" ] || fail "man warns about the manual page: $report"
echo "ok: lintian, appstreamcli and desktop-file-validate report no error or warning"

# The copyright paragraph that applies to a file is the last whose Files patterns match it
# (a * matches any characters, / included). Prints that paragraph's licence and holders.
licence_of() {
  awk -v path="$2" 'BEGIN { RS = ""; FS = "\n" }
    function matches(pattern) {
      gsub(/[][.+^$(){}|\\]/, "\\\\&", pattern); gsub(/\*/, ".*", pattern); gsub(/\?/, ".", pattern)
      return path ~ ("^" pattern "$")
    }
    /^Files:|\nFiles:/ {
      field = ""; hit = 0; licence = ""; holders = ""
      for (i = 1; i <= NF; i++) {
        line = $i
        if (line ~ /^[A-Za-z-]+:/) { field = line; sub(/:.*/, "", field); sub(/^[^:]*:/, "", line) }
        if (field == "Files") { n = split(line, patterns, /[ \t]+/)
          for (j = 1; j <= n; j++) if (patterns[j] != "" && matches(patterns[j])) hit = 1 }
        if (field == "License" && licence == "") { licence = line; sub(/^[ \t]+/, "", licence) }
        if (field == "Copyright") holders = holders line
      }
      if (hit) found = licence "|" holders
    }
    END { print found }' "$1"
}
COPYRIGHT=$ROOT/usr/share/doc/akari/copyright
# The voice clips and the narration (every clip the package holds) are spoken with the
# voice data.
narration=$(cd "$ROOT" && ls -d usr/lib/akari/speech/* 2>/dev/null | wc -l)
[ "$narration" -gt 0 ] || fail "the package holds no narration"
for clip in $(awk '$1 !~ /^#/ && NF { print "usr/lib/akari/" $1 }' "$SOURCE/data/voices.txt") \
  $(cd "$ROOT" && ls -d usr/lib/akari/speech/*); do
  applies=$(licence_of "$COPYRIGHT" "$clip")
  [ "${applies%%|*}" = CC-BY-3.0 ] && grep -q 'Nagoya Institute of Technology' <<<"$applies" ||
    fail "the copyright file gives the voice clip $clip: $applies"
done
# The English narration is ours, spoken by flite's voice, which the file credits.
english=$(cd "$ROOT" && ls -d usr/lib/akari/en/* 2>/dev/null | head -n 1)
[ -n "$english" ] || fail "the package holds no English narration"
applies=$(licence_of "$COPYRIGHT" "$english")
[ "${applies%%|*}" = CC-BY-4.0 ] && grep -q 'flite .* with its voice cmu_us_slt' <(tr '\n' ' ' <"$COPYRIGHT") ||
  fail "the copyright file gives the English narration $english: $applies"
for file in usr/lib/akari/tit.sad usr/lib/akari/bgm01.mid data/script.txt data/english.txt data/phrases.txt usr/share/icons/hicolor/48x48/apps/akari.png; do
  applies=$(licence_of "$COPYRIGHT" "$file")
  [ "${applies%%|*}" = CC-BY-4.0 ] || fail "the copyright file gives $file: $applies"; done
applies=$(licence_of "$COPYRIGHT" usr/lib/akari/akari)
[ "${applies%%|*}" = Expat ] || fail "the copyright file gives the program: $applies"
for licence in 'Expat' 'CC-BY-4.0' 'CC-BY-3.0'; do
  grep -qx "License: $licence" "$COPYRIGHT" || fail "the copyright file lacks the text of $licence"; done
echo "ok: the copyright file gives every voice clip and the $narration of the narration CC-BY-3.0 and the voice data's authors"

unshare -rm true 2>/dev/null || { echo "SKIP: user namespaces are not permitted here"; exit 77; }
start_x_session
case $? in 2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;; 1) fail "$SESSION_ERROR" ;; esac
XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config SDL_AUDIODRIVER=dummy \
  unshare -rm bash -c 'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" || exit 3
    touch "$1/probe" 2>/dev/null && exit 4
    exec "$2"' _ "$GAME_DIR" "$PREFIX/bin/akari" >"$WORK/run.log" 2>&1 &
GAME=$! && SESSION_PIDS+=("$GAME")
WINDOW=$(find_window) || { wait "$GAME"; fail "no window (status $?)"; }
# Through the logo, the notice and the title into the story, whose picture the read-only
# folder gives as any other; the menu's first save slot.
PICTURES=$GAME_DIR await_layer notice expr 0 0 450 165 90 150 0 2 || fail "no notice: $LAYER_REPORT"
click_at 250 200; sleep 0.8; click_at 250 200
PICTURE=$(sed -n 's/^file:\(.*\)\.sad\r\?$/\1/p' "$SOURCE/data/script.txt" | head -n 1)
FRAME=$(sed -n 's/^setscreen:\([0-9]*\)\r\?$/\1/p' "$SOURCE/data/script.txt" | head -n 1)
PICTURES=$GAME_DIR await_layer story "$PICTURE" 0 $((375 * FRAME)) 474 375 0 0 0 1 ||
  fail "the story's first picture is not shown from the read-only folder: $LAYER_REPORT"
echo "ok: the installed game shows its pictures from the read-only folder: $LAYER_REPORT"
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 300)) click 3; sleep 0.8
click_at 195 102
TRIES=50 retry test -s "$WORK/data/akari/z_save0.sdt" || fail "no save under \$XDG_DATA_HOME/akari/"
[ ! -e "$GAME_DIR/z_save0.sdt" ] || fail "the save went to the read-only game folder"
echo "ok: the installed game saved to \$XDG_DATA_HOME/akari/: $(tr -d '\r' <"$WORK/data/akari/z_save0.sdt")"
xdotool key Escape
TRIES=30 retry eval '! kill -0 $GAME 2>/dev/null' || fail "Escape did not end the game"
wait "$GAME" || fail "the game ended with status $?"
echo "ok: Escape ends the installed game with status 0"
