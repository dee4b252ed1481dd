#!/usr/bin/env bash
# The loudness of a whole route as the speakers receive it: the real program under Xvfb
# with SDL's disk audio driver, read in auto mode from the title until the ending's end
# card returns to it, with the early choice's first option and the story choice's option
# ROUTE (1: they wait for the train, 2: he walks her down), then the capture measured with
# ffmpeg's EBU R128 meter: integrated loudness, loudness range and true peak, and the
# highest sample. MUTE (voices or music) sets that volume to 0 % in the preferences, to
# measure the rest alone. It runs in real time: about 40 minutes a route.
# Usage: bench/route_loudness.sh BUILD_DIR ROUTE [MUTE]. Needs what ./test installs, and
# ffmpeg.
set -u
BUILD=$1 ROUTE=$2 MUTE=${3:-}
. "$(dirname "$0")/../tests/xvfb_session.sh"
fail() { echo "FAIL: $*"; exit 1; }
start_x_session || fail "$SESSION_ERROR"

mkdir -p "$WORK/config/akari"
case $MUTE in
  voices) printf '[preferences]\nvoice_volume=0\n' >"$WORK/config/akari/preferences.ini" ;;
  music) printf '[preferences]\nmusic_volume=0\n' >"$WORK/config/akari/preferences.ini" ;;
esac
export SDL_DISKAUDIOFILE=$WORK/capture.raw
AUDIO=disk start_game "$BUILD/game" "$WORK/run.log"
WINDOW=$(find_window) || fail "no window"
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
sleep 6
window_origin "$WINDOW"
click_at 300 300; sleep 1; click_at 300 300; sleep 1.5   # the notice, the title
xdotool key --window "$WINDOW" a
choices=0 started=$(date +%s)
while sleep 3; do
  kill -0 "$GAME" 2>/dev/null || fail "the game ended"
  [ $(($(date +%s) - started)) -lt 5400 ] || fail "no end after 90 minutes"
  shot now || continue
  if layer_shown "$WORK/now.png" comwin 0 0 470 200 58 90 0 40; then
    option=$((choices == 0 ? 0 : ROUTE - 1)) choices=$((choices + 1))
    click_at 300 $((157 + 40 * option)); sleep 1
    xdotool key --window "$WINDOW" a
  elif [ "$choices" -ge 2 ] && layer_shown "$WORK/now.png" tit 0 0 640 474 0 0 0 5; then
    break
  fi
done
echo "route $ROUTE${MUTE:+ without the $MUTE}: $(($(date +%s) - started)) s read"
xdotool key --window "$WINDOW" Escape
TRIES=50 retry eval '! kill -0 $GAME 2>/dev/null'
ffmpeg -nostats -hide_banner -f f32le -ar 44100 -ac 2 -i "$WORK/capture.raw" \
  -af ebur128=peak=true,astats=measure_perchannel=none -f null - 2>&1 |
  awk '/Integrated loudness:/ { part = "I" } /Loudness range:/ { part = "LRA" } /True peak:/ { part = "TP" }
       /^ *I: / && part == "I" { print "integrated loudness", $2, $3 }
       /^ *LRA: / && part == "LRA" { print "loudness range", $2, $3 }
       /^ *Peak: / && part == "TP" { print "true peak", $2, $3 }
       /Peak level dB:/ { print "highest sample", $NF, "dBFS" }'
