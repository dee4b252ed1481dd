#!/usr/bin/env bash
# The real program under Xvfb and openbox: its window found by caption and sized, clicked
# into the story and photographed; a second copy refused; closed by the close box and by
# Escape. Usage: xvfb_window_test.sh GAME_DIR SCRIPT_FILE. Exit 77: no X server, skipped.
set -u
GAME_SRC=$1 SCRIPT=$2 SHOTS=${3:-.}
. "$(dirname "$0")/xvfb_session.sh"

fail() { echo "FAIL: $*"; tail -n +1 "$WORK"/run*.log; exit 1; }
for tool in openbox xdotool wmctrl xwininfo import convert compare; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./test installs it)"; done
start_x_session
case $? in 2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;; 1) fail "$SESSION_ERROR" ;; esac

# The game must end with status 0 within two seconds of $1.
expect_exit() {
  TRIES=20 retry eval '! kill -0 $GAME 2>/dev/null' || fail "$1: still running two seconds later"
  wait "$GAME" || fail "$1: exit status $?"
  echo "ok: $1 ends the game with status 0"
}

# check_layer NAME X Y W H DEST_X DEST_Y KEYED MAX_PERCENT: the W x H rectangle at (X, Y)
# of NAME.sad, without its key colour (the top-left pixel) when KEYED is 1, must be what
# the window shows at DEST but for MAX_PERCENT of its pixels (text or pointer over it).
check_layer() {
  local bmp="$WORK/$1.bmp" key=() opaque differing
  { printf BM; tail -c +3 "$WORK/game/$1.sad"; } >"$bmp"  # the signature written back
  [ "$8" -eq 0 ] || key=(-transparent "$(convert "$bmp" -format '%[pixel:p{0,0}]' info:)")
  convert "$bmp" -crop "${4}x${5}+$2+$3" +repage -alpha set "${key[@]}" "$WORK/layer.png"
  convert "$WORK/client.png" -crop "${4}x${5}+$6+$7" +repage "$WORK/shown.png"
  opaque=$(convert "$WORK/layer.png" -alpha extract -format '%[fx:int(mean*w*h+0.5)]' info:)
  differing=$(convert "$WORK/shown.png" "$WORK/layer.png" -composite miff:- |
    compare -metric AE "$WORK/shown.png" - null: 2>&1)
  differing=${differing%% *}
  [ "$opaque" -ge 1000 ] && [ $((differing * 100)) -le $((opaque * $9)) ] ||
    fail "$1: $differing of $opaque pixels differ from the picture"
  echo "ok: $1 shown ($differing of $opaque pixels covered)"
}

start_game "$GAME_SRC" "$WORK/run1.log"
WINDOW=$(find_window) || fail "no window with the caption $CAPTION"
window_origin "$WINDOW"
[ "${WIDTH}x$HEIGHT" = 640x474 ] || fail "client area is ${WIDTH}x$HEIGHT, not 640x474"
echo "ok: window \"$CAPTION\" with a 640x474 client area"
# The opening logo ends by itself; a click leaves the notice, another the title.
sleep 5; click_at 250 200; sleep 0.8; click_at 250 200; sleep 1.5
import -window root -crop "640x474+$ORIGIN_X+$ORIGIN_Y" +repage "$WORK/client.png" || fail "no screenshot"
# The story's first picture and frame, as the script names them before its first line.
PICTURE=$(sed -n 's/^file:\(.*\)\.sad\r\?$/\1/p' "$SCRIPT" | head -n 1)
FRAME=$(sed -n 's/^setscreen:\([0-9]*\)\r\?$/\1/p' "$SCRIPT" | head -n 1)
check_layer "$PICTURE" 0 $((375 * FRAME)) 474 375 0 0 0 1  # the band left of the panel
check_layer panel 0 0 166 377 474 0 1 1
check_layer message 7 0 640 99 0 375 1 25

# The wheel up opens the backlog over the story; Escape closes it (not the game), and so
# does the wheel down past the newest line: each time the story is back as it was.
shot() { import -window root -crop "640x474+$ORIGIN_X+$ORIGIN_Y" +repage "$WORK/$1.png" || fail "no screenshot"; }
differing_from_story() { shot "$1"; compare -metric AE "$WORK/story.png" "$WORK/$1.png" null: 2>&1 | cut -d " " -f 1; }
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 200)); sleep 0.5
shot story
for close in Escape wheel; do
  xdotool click 4; sleep 0.8
  [ "$(differing_from_story "backlog-$close")" -gt 10000 ] || fail "the wheel up showed no backlog"
  if [ $close = Escape ]; then xdotool key Escape; else xdotool click 5; fi
  sleep 0.8
  kill -0 "$GAME" 2>/dev/null || fail "$close ended the game instead of the backlog"
  [ "$(differing_from_story "closed-$close")" -eq 0 ] || fail "$close did not bring the story back"
  echo "ok: the wheel opens the backlog and $close closes it"
done
mkdir -p "$SHOTS" && cp "$WORK"/story.png "$WORK"/backlog-*.png "$WORK"/closed-*.png "$SHOTS/"

"$WORK/game/akari" >"$WORK/run2.log" 2>&1 || fail "a second copy exited with status $?"
[ "$(wmctrl -l | grep -cF "$CAPTION")" -eq 1 ] || fail "a second copy opened a window"
kill -0 "$GAME" 2>/dev/null || fail "the first copy ended when the second started"
echo "ok: a second copy exits 0 without a window"
wmctrl -c "$CAPTION"
expect_exit "the close box"

start_game "$GAME_SRC" "$WORK/run3.log"
WINDOW=$(find_window) || fail "no window in the second run"
sleep 1
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
xdotool keydown Escape sleep 0.1 keyup Escape
expect_exit "Escape"
