#!/usr/bin/env bash
# Exec to the first frame with the logo of one build or of several started in turn, in a
# real window under a virtual X server. Usage: bench/first_frame.sh STARTS BUILD_DIR...
# Needs what ./test installs, and python3-xlib.
set -u
STARTS=$1
shift
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../tests/xvfb_session.sh"
start_x_session || { echo "cannot measure: $SESSION_ERROR"; exit 1; }
GAMES=()
for build in "$@"; do
  n=${#GAMES[@]}
  cp -r "$build/game" "$WORK/game$n"
  GAMES+=("$WORK/game$n/akari")
done
XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy \
  /usr/bin/python3 "$HERE/first_frame.py" "$STARTS" "${GAMES[@]}"
