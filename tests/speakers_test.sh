#!/usr/bin/env bash
# What the speakers receive: the real program under Xvfb with SDL's disk audio driver,
# which writes the mixed output to a file in real time. The story's first piece plays
# for most of a minute (its loop point is checked offline, through the same mixer); a
# save placed before the first line with a clip is loaded, and the step after the click
# that closes the menu plays that clip; a save placed before the first midi_stop: is
# loaded, and the music stops (under the quiet ambience the story plays there). capture_check then reads
# the capture. Usage: speakers_test.sh GAME_DIR SCRIPT_FILE CAPTURE_CHECK.
# Exit 77: no X server, skipped.
set -u
GAME_SRC=$1 SCRIPT=$2 CHECK=$3
. "$(dirname "$0")/xvfb_session.sh"

fail() { echo "FAIL: $*"; tail -n 5 "$WORK"/run.log; exit 1; }
start_x_session
case $? in 2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;; 1) fail "$SESSION_ERROR" ;; esac

BYTES_PER_SECOND=$((44100 * 8))  # stereo 32-bit float
captured() { stat -c %s "$WORK/capture.raw" 2>/dev/null || echo 0; }
# Waits until the capture has grown by SECONDS of sound (it runs in real time, or
# slower on a busy machine), at most three times as long.
wait_captured() {
  local until=$(($(captured) + $1 * BYTES_PER_SECOND))
  TRIES=$(($1 * 30)) retry eval '[ "$(captured)" -ge $until ]' || fail "the capture stopped growing"
}
# A save whose next step runs the script's line (index) $2, in slot $1.
save_before() { printf '01,040,001,001,001,%d\r\n' $(($2 - 1)) >"$WORK/game/z_save$1.sdt"; }
# The script's table index of the first line matching: its line number among the lines
# that are no notes for the tools (those begin with #), less one.
line_of() { awk -v pattern="$1" '/^#/ { next } { ++line } $0 ~ pattern { print line - 1; exit }' "$SCRIPT"; }
load_slot() {
  click_at 300 300 3; sleep 0.8
  click_at $((170 + 63 * $1 + 10)) 182; sleep 0.8
  kill -0 "$GAME" 2>/dev/null || fail "loading slot $1 ended the game"
}

CLIP=$(sed -n 's/^wave_play:\(.*\)\r\?$/\1/p' "$SCRIPT" | head -n 1)
copy_game "$GAME_SRC" "$WORK/game"
save_before 0 "$(line_of '^wave_play:')"
save_before 1 "$(line_of '^midi_stop:')"
export SDL_DISKAUDIOFILE=$WORK/capture.raw
AUDIO=disk start_game "$GAME_SRC" "$WORK/run.log"
WINDOW=$(find_window) || fail "no window"
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
await_layer notice expr 0 0 450 165 90 150 0 2 || fail "no notice: $LAYER_REPORT"
click_at 300 300; sleep 1; click_at 300 300; sleep 0.5   # the notice, the title
[ "$(captured)" -gt 0 ] || fail "the disk driver wrote nothing"
# The piece starts with the story's first step; half a second on, the music alone.
wait_captured 1
MUSIC_FROM=$(captured)
wait_captured 56
load_slot 0
click_at 300 300; sleep 0.5                              # closes the notice
CLICK_AT=$(captured)
click_at 300 300                                         # the next step: the clip
wait_captured 8
load_slot 1
click_at 300 300; sleep 0.5                              # closes the notice
click_at 300 300                                         # the next step: midi_stop:
wait_captured 2
SILENT_FROM=$(captured)
wait_captured 2
SILENT_TO=$(captured)
kill -0 "$GAME" 2>/dev/null || fail "the game ended"
xdotool key --window "$WINDOW" Escape
TRIES=30 retry eval '! kill -0 $GAME 2>/dev/null' || fail "Escape did not end the game"
wait "$GAME" || fail "exit status $?"
"$CHECK" "$WORK/capture.raw" "$WORK/game/$CLIP" "$MUSIC_FROM" "$CLICK_AT" "$SILENT_FROM" "$SILENT_TO"
