#!/usr/bin/env bash
# The real program under Xvfb and openbox played with a gamepad alone: the pad test's
# program (the game with virtual pads plugged into SDL, set from the lines this script
# appends to a file) from the notice through the title, RB held to the first choice, the
# left stick to its first option and A to take it, a second pad plugged in and the first
# unplugged, Start for the system menu, the stick to the first save button and A to save,
# B back. No key or click is sent to the window; the pointer is only read, to steer.
# Usage: xvfb_pad_test.sh GAME_DIR PAD_PROGRAM [SHOT_DIR]. Exit 77: skipped.
set -u
GAME_SRC=$1 PAD_PROGRAM=$2 SHOTS=${3:-.}
. "$(dirname "$0")/xvfb_session.sh"

fail() { echo "FAIL: $*"; tail -n +1 "$WORK"/run*.log; keep_shots; exit 1; }
keep_shots() { mkdir -p "$SHOTS" && cp "$WORK"/[0-9]*.png "$SHOTS/" 2>/dev/null; }
for tool in openbox xdotool wmctrl xwininfo import convert compare; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./test installs it)"; done
start_x_session
case $? in 2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;; 1) fail "$SESSION_ERROR" ;; esac

# The pad: each line sets a button (1 or 0) or an axis of the newest virtual pad.
export AKARI_TEST_PAD="$WORK/pad"
: >"$AKARI_TEST_PAD"
pad() { printf '%s\n' "$@" >>"$AKARI_TEST_PAD"; }
tap() { pad "$1 1"; sleep 0.15; pad "$1 0"; sleep 0.6; }

# The system pointer's place in the client area, as the game last warped it.
pointer() {
  eval "$(xdotool getmouselocation --shell | grep "^[XY]=")"  # not its WINDOW, the one under it
  PX=$((X - ORIGIN_X)) PY=$((Y - ORIGIN_Y))
}
# An axis value that pushes the stick past its dead zone in proportion to the distance
# left (a quarter of a second's travel), never slower than a crawl.
push_for() {
  local d=$1 sign=1 v
  ((d < 0)) && sign=-1 d=$((-d))
  ((d <= 2)) && { echo 0; return; }
  v=$((8000 + 700 + d * 155))
  ((v > 32767)) && v=32767
  echo $((sign * v))
}
# pointer_to X Y: the left stick steers the pointer to within two pixels of (X, Y).
pointer_to() {
  local n
  for ((n = 0; n < 300; n++)); do
    pointer
    if ((PX - $1 <= 2 && $1 - PX <= 2 && PY - $2 <= 2 && $2 - PY <= 2)); then
      pad "leftx 0" "lefty 0"; sleep 0.3; pointer
      echo "ok: the left stick took the pointer to ($PX, $PY)"
      return 0
    fi
    pad "leftx $(push_for $(($1 - PX)))" "lefty $(push_for $(($2 - PY)))"
    sleep 0.05
  done
  pad "leftx 0" "lefty 0"
  fail "the left stick did not bring the pointer to ($1, $2): it is at ($PX, $PY)"
}

copy_game "$GAME_SRC" "$WORK/game" && cp "$PAD_PROGRAM" "$WORK/game/akari" || fail "no game folder"
start_game "$WORK/game" "$WORK/run1.log"
WINDOW=$(find_window) || fail "no window with the caption $CAPTION"
window_origin "$WINDOW"
# Pads are heard by the window that has the keyboard's focus.
xdotool windowactivate --sync "$WINDOW" 2>/dev/null

# The logo ends by itself (a busy machine may stretch it); A leaves the notice, then the
# title.
TRIES=30 await_shown 1-notice expr 0 0 450 165 90 150 0 2
tap a; shot 2-title
check_shown 2-title tit 0 0 640 474 0 0 0 5
tap a; sleep 1; shot 3-story
check_shown 3-story panel 0 0 166 377 474 0 1 1

# The pointer left of where the choice's rows will be, then RB held until the choice box
# shows: RB skips as Ctrl does.
pointer_to 30 300
pad "rightshoulder 1"
TRIES=60 await_layer 4-choice-plain comwin 0 0 470 200 58 90 0 40; skipped=$?
pad "rightshoulder 0"
[ "$skipped" = 0 ] || fail "no choice box after 30 s of RB held ($LAYER_REPORT)"
sleep 0.5; shot 4-choice-plain
echo "ok: RB held skipped to the choice ($LAYER_REPORT)"

pointer_to 300 157; shot 5-choice
LIT=$(pixels_changed 4-choice-plain 5-choice 80 140 432 35)
[ "$LIT" -ge 3000 ] || fail "the first option under the pointer changed only $LIT pixels"
echo "ok: the first option is highlighted under the pointer ($LIT pixels)"
tap a; sleep 0.5; shot 6-chosen
layer_shown "$WORK/6-chosen.png" comwin 0 0 470 200 58 90 0 40 &&
  fail "A did not take the option"
echo "ok: A took the first option"

# A second pad plugged in and the first unplugged: the second goes on alone.
pad plug; sleep 0.5; pad unplug; sleep 0.5
tap start; shot 7-menu
check_shown 7-menu savaback 0 0 640 474 0 0 0 10
pointer_to 195 102
tap a; shot 8-saved
SAVED=$(ls "$WORK/game" | grep -c '^z_save.\.sdt$')
[ "$SAVED" -eq 1 ] && [ -s "$WORK/game/z_save0.sdt" ] || fail "A did not save to slot No.1 alone"
echo "ok: slot No.1 saved: $(tr -d '\r\n' <"$WORK/game/z_save0.sdt")"

# B leaves the notice and the menu; the window's close box ends the game.
tap b; shot 9-back
layer_shown "$WORK/9-back.png" panel 0 0 166 377 474 0 1 1 ||
  fail "B did not leave the menu ($LAYER_REPORT)"
echo "ok: B left the menu for the story"
keep_shots
wmctrl -c "$CAPTION"
TRIES=20 retry eval '! kill -0 $GAME 2>/dev/null' || fail "the close box did not end the game"
wait "$GAME" || fail "the game ended with status $?"
echo "ok: the game ends with status 0"
