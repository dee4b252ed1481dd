#!/usr/bin/env bash
# Installing like a Linux game: cmake --install into a temporary prefix gives the game
# folder, the command, the desktop entry and its icons; the installed program, its
# folder made read-only (a read-only bind mount in a user namespace: file modes do not
# stop root), saves under $XDG_DATA_HOME/akari/; CPack's .deb holds the same files and
# names the fonts and the SoundFont among its dependencies.
# Usage: install_test.sh BUILD_DIR. Exit 77: no user namespaces or no X server, skipped.
set -u
BUILD=$1
. "$(dirname "$0")/xvfb_session.sh"

fail() { echo "FAIL: $*"; tail -n +1 "$WORK"/*.log 2>/dev/null; exit 1; }
PREFIX=$WORK/prefix GAME_DIR=$WORK/prefix/lib/akari

cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "cmake --install"
[ "$(readlink -f "$PREFIX/bin/akari")" = "$GAME_DIR/akari" ] || fail "bin/akari does not lead to the game folder"
for asset in tit.sad panel.sad message.sad v_minato_001.sad; do
  [ -f "$GAME_DIR/$asset" ] || fail "$asset is not in the game folder"; done
grep -qx 'Exec=akari' "$PREFIX/share/applications/akari.desktop" &&
  grep -qx 'Icon=akari' "$PREFIX/share/applications/akari.desktop" || fail "desktop entry"
for size in 48 128 256; do
  icon=$PREFIX/share/icons/hicolor/${size}x$size/apps/akari.png
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x$size" ] || fail "icon $icon"
done
echo "ok: installed program, game folder, desktop entry and three icons"

(cd "$BUILD" && cpack >"$WORK/cpack.log" 2>&1) || fail "cpack"
DEB=$(ls "$BUILD"/package/akari_*.deb | head -n 1)
CONTENTS=$(dpkg-deb -c "$DEB") || fail "dpkg-deb -c"
for file in ./usr/bin/akari ./usr/lib/akari/akari ./usr/lib/akari/tit.sad \
  ./usr/share/applications/akari.desktop ./usr/share/icons/hicolor/256x256/apps/akari.png; do
  grep -q " $file\( \|$\)" <<<"$CONTENTS" || fail "the .deb lacks $file"; done
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for package in fonts-ipafont-gothic fonts-ipafont-mincho timgm6mb-soundfont libsdl2-2.0-0 libfluidsynth3; do
  grep -q "$package" <<<"$DEPENDS" || fail "the .deb does not depend on $package"; done
echo "ok: the .deb lists the files and depends on: $DEPENDS"

unshare -rm true 2>/dev/null || { echo "SKIP: user namespaces are not permitted here"; exit 77; }
start_x_session
case $? in 2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;; 1) fail "$SESSION_ERROR" ;; esac
XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config SDL_AUDIODRIVER=dummy \
  unshare -rm bash -c 'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" || exit 3
    touch "$1/probe" 2>/dev/null && exit 4
    exec "$2"' _ "$GAME_DIR" "$PREFIX/bin/akari" >"$WORK/run.log" 2>&1 &
GAME=$! && SESSION_PIDS+=("$GAME")
WINDOW=$(find_window) || { wait "$GAME"; fail "no window (status $?)"; }
window_origin "$WINDOW"
# Through the logo, the notice and the title into the story; the menu's first save slot.
sleep 5; click_at 250 200; sleep 0.8; click_at 250 200; sleep 1.5
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 300)) click 3; sleep 0.8
click_at 195 102
TRIES=50 retry test -s "$WORK/data/akari/z_save0.sdt" || fail "no save under \$XDG_DATA_HOME/akari/"
[ ! -e "$GAME_DIR/z_save0.sdt" ] || fail "the save went to the read-only game folder"
echo "ok: the installed game saved to \$XDG_DATA_HOME/akari/: $(tr -d '\r' <"$WORK/data/akari/z_save0.sdt")"
xdotool key Escape
TRIES=30 retry eval '! kill -0 $GAME 2>/dev/null' || fail "Escape did not end the game"
wait "$GAME" || fail "the game ended with status $?"
echo "ok: Escape ends the installed game with status 0"
