#!/usr/bin/env bash
# CPU time the game uses over 10 s on a static story page, with the quit prompt open on
# it, on a page with the wave effect and with the story's first choice open, all with
# music playing, in a real window under a virtual X server (the X server's own time
# beside it). Usage: bench/cpu_static_page.sh [BUILD_DIR]. Needs what ./test installs.
# The page with the wave effect is reached through a save in slot 1 whose next step runs
# the picture line before the story's first "swave:"; the choice through a save in slot 2
# whose next step runs the choice's "command:" line (a loaded save shows no picture, so
# only the choice itself is on the screen).
set -u
BUILD=${1:-build}
SCRIPT=$(dirname "$0")/../data/script.txt
SECONDS_MEASURED=10
. "$(dirname "$0")/../tests/xvfb_session.sh"

start_x_session || { echo "cannot measure: $SESSION_ERROR"; exit 1; }
TICKS=$(getconf CLK_TCK)

# CPU seconds (user + system) of process $1 so far.
cpu_of() { awk -v t="$TICKS" '{printf "%.2f", ($14 + $15) / t}' "/proc/$1/stat"; }

# Prints the game's and Xvfb's CPU over the measuring time, and whether the picture
# band changed between two screenshots (a static page should not).
measure() {
  local g0 x0 g1 x1 moving
  import -window root -crop "474x375+$ORIGIN_X+$ORIGIN_Y" "$WORK/a.png"
  sleep 0.2
  import -window root -crop "474x375+$ORIGIN_X+$ORIGIN_Y" "$WORK/b.png"
  moving=$(compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1)
  g0=$(cpu_of "$GAME"); x0=$(cpu_of "$XVFB")
  sleep "$SECONDS_MEASURED"
  g1=$(cpu_of "$GAME"); x1=$(cpu_of "$XVFB")
  awk -v name="$1" -v g="$(awk "BEGIN{print $g1 - $g0}")" -v x="$(awk "BEGIN{print $x1 - $x0}")" \
    -v s="$SECONDS_MEASURED" -v m="${moving%% *}" 'BEGIN {
      printf "%-18s game %5.2f s CPU in %d s (%4.1f%% of a core), Xvfb %5.2f s; band pixels changing: %s\n",
        name, g, s, 100 * g / s, x, m }'
}

# The script's line index is its line number in the file less one; the save holds the
# line before the one its next step runs.
SWAVE=$(grep -n -m 1 '^swave:' "$SCRIPT" | cut -d : -f 1)
PICTURE_LINE=$(head -n "$SWAVE" "$SCRIPT" | grep -n '^file:' | tail -n 1 | cut -d : -f 1)
# The first "command:" is the quit prompt's, at the head of the script.
CHOICE_LINE=$(grep -n '^command:' "$SCRIPT" | sed -n 2p | cut -d : -f 1)
cp -r "$BUILD/game" "$WORK/game"
printf '01,040,001,001,001,%d\r\n' $((PICTURE_LINE - 2)) >"$WORK/game/z_save1.sdt"
printf '01,040,001,001,001,%d\r\n' $((CHOICE_LINE - 2)) >"$WORK/game/z_save2.sdt"
start_game "$BUILD/game" "$WORK/game.log"
WINDOW=$(find_window) || { echo "no game window"; exit 1; }
window_origin "$WINDOW"
sleep 5           # the opening logo
click_at 250 200  # notice
sleep 0.8
click_at 250 200  # title: the story's first page
sleep 2           # its text fully revealed
measure "static story page"
click_at 580 336; sleep 1      # the panel's quit button: the prompt
measure "quit prompt"
click_at 300 197; sleep 0.8    # its second row: back to the story
click_at 300 200 3; sleep 0.8  # the menu
click_at 243 182; sleep 0.8    # load slot 1
click_at 250 200               # the notice's click steps into the waving page
sleep 2
measure "wave page"
click_at 300 200 3; sleep 0.8  # the menu
click_at 306 182; sleep 0.8    # load slot 2
click_at 250 200; sleep 1      # the notice's click opens the choice
measure "open choice"
