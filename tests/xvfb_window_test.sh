#!/usr/bin/env bash
# The real program under Xvfb and openbox: its window found by caption and sized, clicked
# through the logo, notice and title into the story, its backlog, the system menu (a
# save, its notice and the slot's picture) and the first choice, each photographed into
# SHOT_DIR (default: here); a second copy refused; closed by the close box; started again
# to continue from the title; closed by Escape.
# Usage: xvfb_window_test.sh GAME_DIR SCRIPT_FILE [SHOT_DIR]. Exit 77: skipped.
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

# The client area photographed into $WORK/NAME.png, and into $WORK/client.png for
# check_layer.
photograph() {
  import -window root -crop "640x474+$ORIGIN_X+$ORIGIN_Y" +repage "$WORK/$1.png" || fail "no screenshot"
  cp "$WORK/$1.png" "$WORK/client.png"
}

check_layer() {
  layer_shown "$WORK/client.png" "$@" || fail "$LAYER_REPORT"
  echo "ok: $LAYER_REPORT"
}

start_game "$GAME_SRC" "$WORK/run1.log"
WINDOW=$(find_window) || fail "no window with the caption $CAPTION"
window_origin "$WINDOW"
[ "${WIDTH}x$HEIGHT" = 640x474 ] || fail "client area is ${WIDTH}x$HEIGHT, not 640x474"
echo "ok: window \"$CAPTION\" with a 640x474 client area"
# The opening logo ends by itself; a click leaves the notice, another the title.
xdotool mousemove $((ORIGIN_X + 630)) $((ORIGIN_Y + 470))
sleep 1; photograph logo
[ "$(convert "$WORK/client.png" -format '%[fx:maxima>0.5 && standard_deviation>0.02]' info:)" = 1 ] ||
  fail "the logo screen is blank"
sleep 4; photograph notice
check_layer expr 0 0 450 165 90 150 0 2
click_at 250 200; sleep 0.8; photograph title
check_layer tit 0 0 640 474 0 0 0 5
click_at 250 200; sleep 1.5
photograph story
# The story's first picture and frame, as the script names them before its first line.
PICTURE=$(sed -n 's/^file:\(.*\)\.sad\r\?$/\1/p' "$SCRIPT" | head -n 1)
FRAME=$(sed -n 's/^setscreen:\([0-9]*\)\r\?$/\1/p' "$SCRIPT" | head -n 1)
check_layer "$PICTURE" 0 $((375 * FRAME)) 474 375 0 0 0 1  # the band left of the panel
check_layer panel 0 0 166 377 474 0 1 1
check_layer message 7 0 640 99 0 375 1 25

# The wheel up opens the backlog over the story; Escape closes it (not the game), and so
# does the wheel down past the newest line: each time the story is back as it was.
differing_from_story() { photograph "$1"; compare -metric AE "$WORK/story.png" "$WORK/$1.png" null: 2>&1 | cut -d " " -f 1; }
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 200)); sleep 0.5
photograph story
for close in Escape wheel; do
  xdotool click 4; sleep 0.8
  [ "$(differing_from_story "backlog-$close")" -gt 10000 ] || fail "the wheel up showed no backlog"
  if [ $close = Escape ]; then xdotool key Escape; else xdotool click 5; fi
  sleep 0.8
  kill -0 "$GAME" 2>/dev/null || fail "$close ended the game instead of the backlog"
  [ "$(differing_from_story "closed-$close")" -eq 0 ] || fail "$close did not bring the story back"
  echo "ok: the wheel opens the backlog and $close closes it"
done

# F1 opens the preferences over the story; Escape closes them (not the game), and the
# story is back as it was.
xdotool key F1; sleep 0.8
[ "$(differing_from_story preferences)" -gt 10000 ] || fail "F1 showed no preferences"
xdotool key Escape; sleep 0.8
kill -0 "$GAME" 2>/dev/null || fail "Escape ended the game instead of the preferences"
[ "$(differing_from_story closed-preferences)" -eq 0 ] || fail "closing the preferences did not bring the story back"
echo "ok: F1 opens the preferences and Escape closes them"

# The system menu over the story: the button under the pointer lights up inside its box.
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 200)) sleep 0.2 mousedown 3 sleep 0.1 mouseup 3
sleep 1; xdotool mousemove $((ORIGIN_X + 100)) $((ORIGIN_Y + 440)); sleep 0.5
photograph menu_plain
xdotool mousemove $((ORIGIN_X + 195)) $((ORIGIN_Y + 102)); sleep 0.5
photograph menu
LIT=$(pixels_changed menu_plain menu 172 92 46 21)
[ "$LIT" -ge 600 ] || fail "the hovered save button changed only $LIT pixels"
OUTSIDE=$(pixels_changed menu_plain menu 233 92 46 21)
[ "$OUTSIDE" -eq 0 ] || fail "the next save button changed $OUTSIDE pixels too"
echo "ok: the hovered menu button lights ($LIT pixels), its neighbour stays"
# A save to slot 1: its notice and how to go on in the margin left of the rows, the
# menu's card beside it dimmed; the next click closes it, on Save No.3 saving nothing.
# Then, with the menu open again, the pointer on slot 1's save button shows its small
# picture in the margin.
click_at 195 102; sleep 0.8
xdotool mousemove $((ORIGIN_X + 100)) $((ORIGIN_Y + 440)); sleep 0.5
photograph menu_notice
NOTICE=$(pixels_changed menu_plain menu_notice 10 92 156 68)
DIMMED=$(pixels_changed menu_plain menu_notice 168 40 392 360)
[ "$NOTICE" -ge 100 ] && [ "$DIMMED" -ge 50000 ] ||
  fail "the notice changed $NOTICE pixels of the margin and $DIMMED of the card"
echo "ok: the notice stands in the margin ($NOTICE pixels), the card is dimmed ($DIMMED pixels)"
click_at $((170 + 63 * 2 + 10)) 102; sleep 1
[ ! -e "$WORK/game/z_save2.sdt" ] || fail "the click closing the notice saved to slot No.3"
click_at 300 200 3; sleep 1
xdotool mousemove $((ORIGIN_X + 195)) $((ORIGIN_Y + 102)); sleep 0.5
photograph menu_preview
PREVIEW=$(pixels_changed menu menu_preview 10 90 150 113)
[ "$PREVIEW" -ge 10000 ] || fail "the margin shows no picture of slot 1 ($PREVIEW pixels changed)"
echo "ok: the pointer on a saved slot shows its picture in the margin ($PREVIEW pixels)"
click_at 420 380; sleep 1  # return to the story

# On to the first choice with Ctrl held (the skip), the pointer left of the rows; the
# pointer on the first row then highlights it.
xdotool mousemove $((ORIGIN_X + 30)) $((ORIGIN_Y + 300))
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
xdotool keydown Control_L
for ((n = 0; n < 60; n++)); do
  sleep 0.5; photograph choice_plain
  layer_shown "$WORK/client.png" comwin 0 0 470 200 58 90 0 40 && break
done
xdotool keyup Control_L
[ "$n" -lt 60 ] || fail "no choice box after 30 s of skipping ($LAYER_REPORT)"
sleep 0.5; photograph choice_plain
echo "ok: choice box shown ($LAYER_REPORT)"
xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 157)); sleep 0.5
photograph choice
LIT=$(pixels_changed choice_plain choice 80 140 432 35)
[ "$LIT" -ge 3000 ] || fail "the hovered choice row changed only $LIT pixels"
echo "ok: the hovered choice row is highlighted ($LIT pixels)"
mkdir -p "$SHOTS" && cp "$WORK"/{logo,notice,title,story,menu,menu_notice,menu_preview,choice,preferences}.png "$WORK"/backlog-*.png "$WORK"/closed-*.png "$SHOTS/"

"$WORK/game/akari" >"$WORK/run2.log" 2>&1 || fail "a second copy exited with status $?"
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
  TRIES=30 retry eval 'window_origin "$WINDOW"; [ "${WIDTH}x$HEIGHT" = "$size" ]' ||
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
  TRIES=30 retry eval 'window_origin "$WINDOW"; [ "${WIDTH}x$HEIGHT" = 1600x1200 ]' ||
    fail "$key: the window is ${WIDTH}x$HEIGHT, not the screen's 1600x1200"
  sleep 0.5
  photo "full-screen-${key/+/-}"
  xdotool key Escape
  TRIES=30 retry eval 'window_origin "$WINDOW"; [ "${WIDTH}x$HEIGHT" = 1000x600 ]' ||
    fail "Escape after $key: the window is ${WIDTH}x$HEIGHT, not 1000x600 again"
  kill -0 "$GAME" 2>/dev/null || fail "Escape in full screen ended the game"
  echo "ok: $key makes the window full screen and Escape returns it to 1000x600"
done
mkdir -p "$SHOTS" && cp "$WORK"/size-*.png "$WORK"/full-screen-*.png "$SHOTS/"
wmctrl -c "$CAPTION"
expect_exit "the close box"

# The title of a game with a save: its つづきから lit under the pointer (greyed at the
# first run's title, when there was none) continues from the most recent, the place the
# close box kept.
start_game "$GAME_SRC" "$WORK/run3.log"
WINDOW=$(find_window) || fail "no window in the second run"
resize_to 640 474  # the first run left it at 1000x600, which the window keeps
xdotool mousemove $((ORIGIN_X + 630)) $((ORIGIN_Y + 470))
sleep 5; click_at 250 200; sleep 0.8
xdotool mousemove $((ORIGIN_X + 250)) $((ORIGIN_Y + 200)); sleep 0.5
photograph title_saved
LIT=$(pixels_changed title title_saved 510 398 120 28)
[ "$LIT" -ge 50 ] || fail "つづきから looks the same with a save as without ($LIT pixels)"
xdotool mousemove $((ORIGIN_X + 560)) $((ORIGIN_Y + 412)); sleep 0.5
photograph title_entries
click_at 560 412; sleep 1.5
photograph continued
[ "$(pixels_changed title_entries continued 0 0 474 375)" -ge 10000 ] || fail "つづきから did not leave the title"
check_layer comwin 0 0 470 200 58 90 0 40  # the first choice, open when the box was closed
echo "ok: つづきから is lit once a save exists and continues the story from it"
cp "$WORK"/{title_saved,title_entries,continued}.png "$SHOTS/"
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
xdotool keydown Escape sleep 0.1 keyup Escape
expect_exit "Escape"
