#!/usr/bin/env bash
# The real program in a real window: a virtual X server with a window manager, the
# game started from a copy of its folder, found by its caption, clicked into the story
# and photographed; a second copy refused; closed by the close box and by Escape.
# Usage: xvfb_window_test.sh GAME_DIR SCRIPT_FILE. Exit 77 (skipped) only when no X
# server can be started.
set -u

GAME_SRC=$1
SCRIPT=$2
. "$(dirname "$0")/xvfb_session.sh"

fail() {
  echo "FAIL: $*"
  for log in "$WORK"/run*.log; do
    [ -s "$log" ] && { echo "--- $log"; cat "$log"; }
  done
  exit 1
}

for tool in openbox xdotool wmctrl xwininfo import convert compare; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./test installs it)"
done
start_x_session
case $? in
  2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;;
  1) fail "$SESSION_ERROR" ;;
esac

windows_with_caption() { wmctrl -l | grep -cF "$CAPTION"; }

# Waits at most two seconds for the game to end; fails unless it ends with status 0.
expect_exit_within_two_seconds() {
  for _ in $(seq 20); do
    kill -0 "$GAME" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$GAME" 2>/dev/null && fail "$1: still running two seconds later"
  wait "$GAME"
  local status=$?
  [ "$status" -eq 0 ] || fail "$1: exit status $status"
  echo "ok: $1 ends the game with status 0"
}

# The .sad picture as a BMP file ImageMagick reads: the signature written back.
as_bmp() {
  cp "$WORK/game/$1.sad" "$WORK/$1.bmp"
  printf 'BM' | dd of="$WORK/$1.bmp" bs=1 count=2 conv=notrunc 2>/dev/null
}

# check_layer NAME SRC_X SRC_Y W H DEST_X DEST_Y KEYED MAX_PERCENT: the picture's
# rectangle (without its key colour, the top-left pixel, when KEYED is 1) must be what
# the window shows at DEST, but for at most MAX_PERCENT of its pixels (the pointer or
# text drawn over it).
check_layer() {
  local name=$1 w=$4 h=$5 key layer shown
  as_bmp "$name"
  layer="$WORK/$name.layer.png"
  shown="$WORK/$name.shown.png"
  if [ "$8" -eq 1 ]; then
    key=$(convert "$WORK/$name.bmp" -format '%[pixel:p{0,0}]' info:)
    convert "$WORK/$name.bmp" -crop "${w}x${h}+$2+$3" +repage -alpha set -transparent "$key" "$layer"
  else
    convert "$WORK/$name.bmp" -crop "${w}x${h}+$2+$3" +repage -alpha set "$layer"
  fi
  local opaque
  opaque=$(convert "$layer" -alpha extract -format '%[fx:int(mean*w*h+0.5)]' info:)
  [ "$opaque" -ge 1000 ] || fail "$name: only $opaque pixels to compare"
  convert "$WORK/client.png" -crop "${w}x${h}+$6+$7" +repage "$shown"
  convert "$shown" "$layer" -composite "$WORK/$name.expected.png"
  local differing
  differing=$(compare -metric AE "$shown" "$WORK/$name.expected.png" null: 2>&1)
  differing=${differing%% *}
  [ "$((differing * 100))" -le "$((opaque * $9))" ] ||
    fail "$name: $differing of $opaque pixels differ from the picture"
  echo "ok: $name shown ($differing of $opaque pixels covered)"
}

# ---- Run 1: size, clicks into the story, the picture, a second copy, the close box

start_game "$GAME_SRC" "$WORK/run1.log"
WINDOW=$(find_window) || fail "no window with the caption $CAPTION"
read -r WIDTH HEIGHT < <(xwininfo -id "$WINDOW" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 474 ] || fail "client area is ${WIDTH}x$HEIGHT, not 640x474"
echo "ok: window \"$CAPTION\" with a 640x474 client area"
window_origin "$WINDOW"

sleep 5          # the opening logo ends by itself
click_at 250 200 # leaves the notice
sleep 0.8
click_at 250 200 # leaves the title: the story's first line
sleep 1.5

import -window root "$WORK/screen.png" || fail "no screenshot"
convert "$WORK/screen.png" -crop "640x474+$ORIGIN_X+$ORIGIN_Y" +repage "$WORK/client.png"
# The story's first picture and frame, as the script names them before its first line.
PICTURE=$(grep -m 1 '^file:' "$SCRIPT" | cut -d ':' -f 2 | tr -d '\r' | sed 's/\.sad$//')
FRAME=$(grep -m 1 '^setscreen:' "$SCRIPT" | cut -d ':' -f 2 | tr -d '\r')
[ -n "$PICTURE" ] && [ -n "$FRAME" ] || fail "the script names no first picture"
check_layer "$PICTURE" 0 $((375 * FRAME)) 474 375 0 0 0 1  # the picture band left of the panel
check_layer panel 0 0 166 377 474 0 1 1                     # the panel, keyed
check_layer message 7 0 640 99 0 375 1 25                   # the message frame, keyed

"$WORK/game/akari" >"$WORK/run2.log" 2>&1
status=$?
[ "$status" -eq 0 ] || fail "a second copy exited with status $status"
[ "$(windows_with_caption)" -eq 1 ] || fail "a second copy opened a window"
kill -0 "$GAME" 2>/dev/null || fail "the first copy ended when the second started"
echo "ok: a second copy exits 0 without a window"

wmctrl -c "$CAPTION"
expect_exit_within_two_seconds "the close box"

# ---- Run 2: Escape ---------------------------------------------------------------

start_game "$GAME_SRC" "$WORK/run3.log"
WINDOW=$(find_window) || fail "no window in the second run"
sleep 1
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
xdotool keydown Escape
sleep 0.1
xdotool keyup Escape
expect_exit_within_two_seconds "Escape"
exit 0
