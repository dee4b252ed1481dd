#!/usr/bin/env bash
# How long S takes to skip the first run's text once it has been read, in a real window
# under a virtual X server. Run 1 reads the story with Return (a press marks each line
# read), takes the first option of each choice and goes on to the title; Escape ends the
# game, which writes the read marks. Run 2 presses S on the first page: skipping stops
# at a choice; the first option is taken and S pressed again, until it stops at the end of
# the run (each choice the same way). The time from each S to the moment the skip mark
# leaves the panel is printed, and their sum. SHOT=FILE keeps the last screen.
# Usage: bench/skip_read_time.sh [BUILD_DIR]. Needs what ./test installs.
set -u
BUILD=${1:-build}
. "$(dirname "$0")/../tests/xvfb_session.sh"

start_x_session || { echo "cannot measure: $SESSION_ERROR"; exit 1; }
export XDG_DATA_HOME="$WORK/data"

press() { xdotool key --window "$WINDOW" "$1"; }
# Whether photograph $1 shows the choice box, or the title picture.
choice_shown() { shot "$1" && layer_shown "$WORK/$1.png" comwin 0 0 200 40 58 90 0 40; }
title_shown() { shot "$1" && layer_shown "$WORK/$1.png" tit 0 0 200 40 0 0 0 5; }
# Pixels of the skip mark's lamplight colour in the panel's mark row (none on the panel
# itself, nor on the title that ends a run).
mark_pixels() {
  import -window root -crop "24x10+$((ORIGIN_X + 554))+$((ORIGIN_Y + 352))" +repage "$WORK/mark.png"
  convert "$WORK/mark.png" -fx 'r>0.85&&g>0.78&&b<0.62' -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Starts the game, passes the logo, the notice and the title into the first page.
start_run() {
  start_game "$BUILD/game" "$WORK/run$1.log"
  WINDOW=$(find_window) || { echo "run $1: no window"; exit 1; }
  xdotool windowactivate --sync "$WINDOW" 2>/dev/null
  sleep 6
  window_origin "$WINDOW"
  local n
  for ((n = 0; n < 8; n++)); do
    click_at 300 300; sleep 1.5
    shot "start$1" && layer_shown "$WORK/start$1.png" panel 0 0 166 377 474 0 1 1 && break
  done
  xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 360))
  sleep 0.5
}

# Seconds from S until the skip mark has gone from the panel, printed and left in
# SKIPPED.
time_skip() {
  local start end seen=0 n
  start=$(date +%s.%N)
  press s
  for ((n = 0; n < 1200; n++)); do
    if [ "$(mark_pixels)" -gt 10 ]; then seen=1; elif [ $seen = 1 ]; then break; fi
  done
  end=$(date +%s.%N)
  [ $seen = 1 ] || { echo "$1: the skip mark never showed"; exit 1; }
  SKIPPED=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
  echo "$1 $SKIPPED s"
}

start_run 1
lines=0
until title_shown read; do
  if choice_shown read; then click_at 300 157; sleep 1; else press Return; sleep 0.1; fi
  lines=$((lines + 1))
done
echo "run 1: $lines presses to read through to the title"
press Escape
TRIES=100 retry eval '! kill -0 $GAME 2>/dev/null'

start_run 2
total=0
for ((part = 1; part <= 4; part++)); do
  time_skip "run 2, S (part $part):"
  total=$(awk -v a="$total" -v b="$SKIPPED" 'BEGIN { print a + b }')
  choice_shown skip || break
  click_at 300 157; sleep 1
done
echo "run 2: S stopped $part times; skipping took $total s in all"
shot skip-end && cp "$WORK/skip-end.png" "${SHOT:-/dev/null}" 2>/dev/null
echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg)"
