#!/usr/bin/env bash
# The real program under Xvfb and openbox, driven as a player drives it, in one X
# session: what only the real window, keys and pointer meet (what the pages do with
# input is checked headless). Run 1: the window, the logo, notice and title, the story
# read with clicks and Return, the backlog and the preferences, held Ctrl to the first
# choice, a second copy refused, other sizes and full screen, the close box. Run 2:
# つづきから, the choice's first option; Escape. Each state is waited for; the
# photographs are kept in SHOT_DIR (default: here).
# Usage: xvfb_window_test.sh GAME_DIR SCRIPT_FILE [SHOT_DIR]. Exit 77: skipped.
set -u
GAME_SRC=$1 SCRIPT=$2 SHOTS=${3:-.}
. "$(dirname "$0")/xvfb_session.sh"

keep_shots() {
  local f
  mkdir -p "$SHOTS"
  for f in "$WORK"/*.png; do
    case ${f##*/} in layer.png | shown.png | halved.png) ;; *) cp "$f" "$SHOTS/" ;; esac
  done
}
fail() { echo "FAIL: $*"; tail -n 5 "$WORK"/run*.log; keep_shots; exit 1; }
for tool in openbox xdotool wmctrl xwininfo import convert compare; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./test installs it)"; done
start_x_session
case $? in 2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;; 1) fail "$SESSION_ERROR" ;; esac

# Runs the check (a command) every 0.1 s until it holds, for at most 20 seconds.
until_true() { TRIES=200 retry "$@"; }
# The game must end with status 0 within five seconds of $1.
expect_exit() {
  TRIES=50 retry eval '! kill -0 $GAME 2>/dev/null' || fail "$1: still running five seconds later"
  wait "$GAME" || fail "$1: exit status $?"
  echo "ok: $1 ends the game with status 0"
}
# The pixels of a rectangle that are the pure red of a highlighted row (the game's colour
# 0x0000FF is blue, green, red from the low byte).
red_pixels() {
  convert "$WORK/$1.png" -crop "${4}x${5}+$2+$3" +repage -fx 'r>0.9&&g<0.1&&b<0.1' \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}
# text_shown SHOT: photographed, the message window holds a line of the story (at least
# 300 near-white pixels; WHITE says how many).
text_shown() {
  shot "$1" && WHITE=$(white_pixels "$1" 0 378 470 96) && [ "$WHITE" -ge 300 ]
}
# differs SHOT_A SHOT_B: how many pixels of the whole client area differ.
differs() { compare -metric AE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d " " -f 1; }
choice_open() { shot "$1" && layer_shown "$WORK/$1.png" comwin 0 0 470 200 58 90 0 40; }
# option_lit SHOT N: photographed, option N's row alone is filled in red.
option_lit() {
  shot "$1" && [ "$(red_pixels "$1" 80 $((140 + 40 * $2)) 433 36)" -ge 400 ] &&
    [ "$(red_pixels "$1" 80 $((140 + 40 * (1 - $2))) 433 36)" -lt 100 ]
}
# page_shown SHOT PICTURE COUNT: photographed, the story's page shows a band of PICTURE
# (any of its first COUNT, for an animated one), the panel, and text in the message
# window.
page_shown() {
  local band
  shot "$1" || return 1
  for ((band = 0; band < $3; band++)); do
    layer_shown "$WORK/$1.png" "$2" 0 $((375 * band)) 474 375 0 0 0 1 && break
  done
  [ "$band" -lt "$3" ] && layer_shown "$WORK/$1.png" panel 0 0 166 377 474 0 1 1 &&
    [ "$(white_pixels "$1" 0 378 470 96)" -ge 300 ]
}
await_page() {
  until_true page_shown "$@" || fail "$1: no page of $2 with the panel and text ($LAYER_REPORT)"
  echo "ok: $1: a band of $2, the panel and text"
}
# Run 1.
start_game "$GAME_SRC" "$WORK/run1.log"
WINDOW=$(find_window) || fail "no window with the caption $CAPTION"
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
window_origin "$WINDOW"
[ "${WIDTH}x$HEIGHT" = 640x474 ] || fail "client area is ${WIDTH}x$HEIGHT, not 640x474"
echo "ok: window \"$CAPTION\" with a 640x474 client area"
xdotool mousemove $((ORIGIN_X + 630)) $((ORIGIN_Y + 470))
sleep 1; shot logo || fail "no screenshot"
[ "$(convert "$WORK/logo.png" -format '%[fx:maxima>0.5 && standard_deviation>0.02]' info:)" = 1 ] ||
  fail "the logo screen is blank"
await_shown notice expr 0 0 450 165 90 150 0 2
click_at 250 200
await_shown title tit 0 0 640 474 0 0 0 5
click_at 250 200
# The story's first picture and frame, as the script names them before its first line,
# the panel, the message window and its first line.
PICTURE=$(sed -n 's/^file:\(.*\)\.sad\r\?$/\1/p' "$SCRIPT" | head -n 1)
FRAME=$(sed -n 's/^setscreen:\([0-9]*\)\r\?$/\1/p' "$SCRIPT" | head -n 1)
await_page story "$PICTURE" $((FRAME + 1))
check_shown story "$PICTURE" 0 $((375 * FRAME)) 474 375 0 0 0 1  # the band left of the panel
check_shown story message 7 0 640 99 0 375 1 25

# Clicks and Return read on.
click_at 300 360; sleep 0.6; click_at 300 360; sleep 0.6
xdotool key --window "$WINDOW" Return sleep 0.6 key --window "$WINDOW" Return
until_true eval 'text_shown read && [ "$(differs story read)" -gt 500 ]' ||
  fail "clicks and Return did not move the story on to a line ($WHITE white pixels)"
echo "ok: clicks and Return read on ($WHITE white pixels)"

# The wheel up opens the backlog over the story and the wheel down past the newest line
# closes it; F1 opens the preferences and Escape closes them (not the game): each time
# the story is back as it was.
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 200)); sleep 0.5
shot story
for page in "backlog:click 4:click 5" "preferences:key F1:key Escape"; do
  IFS=: read -r name open close <<<"$page"
  xdotool $open
  until_true eval 'shot "$name" && [ "$(differs story "$name")" -gt 10000 ]' ||
    fail "$open showed no $name"
  xdotool $close
  until_true eval 'shot "closed-$name" && [ "$(differs story "closed-$name")" -eq 0 ]' ||
    fail "$close did not bring the story back as it was"
  kill -0 "$GAME" 2>/dev/null || fail "$close ended the game instead of the $name"
  echo "ok: $open opens the $name and $close closes it"
done

# On to the first choice with Ctrl held, the pointer below the option rows (held Ctrl
# never picks an option), at most 60 s.
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 360)) keydown ctrl
TRIES=120 await_layer choice_plain comwin 0 0 470 200 58 90 0 40; found=$?
xdotool keyup ctrl
[ $found = 0 ] || fail "no choice box after 60 s of held Ctrl ($LAYER_REPORT)"
echo "ok: held Ctrl stops at the choice box"

"$WORK/game/akari" >"$WORK/run-second.log" 2>&1 || fail "a second copy exited with status $?"
[ "$(wmctrl -l | grep -cF "$CAPTION")" -eq 1 ] || fail "a second copy opened a window"
kill -0 "$GAME" 2>/dev/null || fail "the first copy ended when the second started"
echo "ok: a second copy exits 0 without a window"

# The window at other sizes: the picture fills it with its aspect kept, the bars black,
# pixel for pixel at twice the size; F11 and Alt+Return make it full screen, and Escape
# there returns to the window without ending the game.
photo() {  # photo NAME: the whole client area as it is now
  window_origin "$WINDOW"
  import -window root -crop "${WIDTH}x$HEIGHT+$ORIGIN_X+$ORIGIN_Y" +repage "$WORK/$1.png" ||
    fail "no screenshot $1"
}
mean_of() { convert "$WORK/$1.png" -crop "$2" +repage -format '%[fx:int(mean*1000)]' info:; }
resize_to() {
  local size="$1x$2"
  xdotool windowsize "$WINDOW" "$1" "$2"
  until_true eval 'window_origin "$WINDOW"; [ "${WIDTH}x$HEIGHT" = "$size" ]' ||
    fail "the window is ${WIDTH}x$HEIGHT, not $size"
  sleep 0.5
}
xdotool mousemove 1590 1190  # off the window at every size
sleep 0.5
photo size-640x474
resize_to 1280 948
halved_differs() {
  photo size-1280x948
  convert "$WORK/size-1280x948.png" -sample 50% "$WORK/halved.png"
  differing=$(compare -metric AE "$WORK/size-640x474.png" "$WORK/halved.png" null: 2>&1 | cut -d " " -f 1)
  [ "$differing" -le 3000 ]
}
TRIES=20 retry halved_differs || fail "at 1280x948, $differing pixels differ from the picture at 640x474"
echo "ok: at 1280x948 the picture is shown twice as large ($differing of 303360 pixels differ)"
resize_to 1000 600  # 810 x 600 at x = 95
photo size-1000x600
[ "$(mean_of size-1000x600 95x600+0+0)" -eq 0 ] && [ "$(mean_of size-1000x600 95x600+905+0)" -eq 0 ] ||
  fail "the bars beside the picture are not black"
[ "$(mean_of size-1000x600 810x600+95+0)" -gt 20 ] || fail "no picture between the bars"
echo "ok: at 1000x600 the picture lies between black bars"
for key in F11 alt+Return; do
  xdotool windowactivate --sync "$WINDOW" 2>/dev/null
  xdotool key "$key"
  until_true eval 'window_origin "$WINDOW"; [ "${WIDTH}x$HEIGHT" = 1600x1200 ]' ||
    fail "$key: the window is ${WIDTH}x$HEIGHT, not the screen's 1600x1200"
  sleep 0.5
  photo "full-screen-${key/+/-}"
  xdotool key Escape
  until_true eval 'window_origin "$WINDOW"; [ "${WIDTH}x$HEIGHT" = 1000x600 ]' ||
    fail "Escape after $key: the window is ${WIDTH}x$HEIGHT, not 1000x600 again"
  kill -0 "$GAME" 2>/dev/null || fail "Escape in full screen ended the game"
  echo "ok: $key makes the window full screen and Escape returns it to 1000x600"
done
wmctrl -c "$CAPTION"
expect_exit "the close box"

# Run 2: the title's つづきから continues from the most recent save, the place the close
# box kept: the first choice.
start_game "$GAME_SRC" "$WORK/run2.log"
WINDOW=$(find_window) || fail "no window in the second run"
resize_to 640 474  # the first run left it at 1000x600, which the window keeps
xdotool mousemove $((ORIGIN_X + 630)) $((ORIGIN_Y + 470))
await_shown 2-notice expr 0 0 450 165 90 150 0 2
click_at 250 200
await_shown title_saved tit 0 0 640 474 0 0 0 5
click_at 560 412
await_shown continued comwin 0 0 470 200 58 90 0 40
echo "ok: つづきから continues the story from the save"
# Its first option lit alone under the pointer and taken by a click (where the story goes
# from there, to every ending, is the shipped story's headless test).
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 157))
until_true option_lit choice 0 || fail "the first option is not highlighted alone under the pointer"
check_shown choice comwin 0 0 470 200 58 90 0 40
click_at 300 157
until_true eval '! choice_open taken' || fail "the click did not take the first option"
until_true text_shown taken || fail "no text after the first option ($WHITE white pixels)"
echo "ok: the first option lit under the pointer and taken, then its text ($WHITE white pixels)"
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
xdotool keydown Escape sleep 0.1 keyup Escape
expect_exit "Escape"

keep_shots
