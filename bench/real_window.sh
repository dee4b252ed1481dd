#!/usr/bin/env bash
# The real window under a virtual X server, as a player meets it: exec to the first
# frame, CPU of the program and of the X server over 10 s on a still story page with
# music (synthesised and mixed: SDL's dummy audio driver still runs the mixer), the
# median time from a synthetic click to the first change of the window's pixels over
# 20 clicks, the same for 24 page turns (clicks whose step runs a "file:" line), and
# peak resident memory. Usage: bench/real_window.sh [BUILD_DIR] [RUNS].
# Needs what ./test installs, and python3-xlib. Measure on a quiet machine.
set -u
BUILD=${1:-build}
RUNS=${2:-1}
PROBE="$(cd "$(dirname "$0")" && pwd)/window_probe.py"
. "$(dirname "$0")/../tests/xvfb_session.sh"

cp -r "$BUILD/game" "$WORK/game"
export XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy
# Each run has an X server of its own, whose CPU is then the game's doing alone.
for run in $(seq "$RUNS"); do
  start_x_session || { echo "cannot measure: $SESSION_ERROR"; exit 1; }
  echo "run $run (load average: $(cut -d ' ' -f 1-3 /proc/loadavg))"
  /usr/bin/python3 "$PROBE" "$WORK/game/akari" "$XVFB" || exit 1
  kill "${SESSION_PIDS[@]}" 2>/dev/null; wait; SESSION_PIDS=()
done
