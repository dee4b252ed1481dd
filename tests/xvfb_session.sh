# Sourced by the real-window test and the CPU benchmark: a virtual X server with a
# window manager, and the game started from a copy of its folder. Defines
# start_x_session, start_game, find_window, window_origin and click_at; keeps its files
# in $WORK and ends everything it started when the sourcing script exits.

CAPTION="灯りの駅"
WORK=$(mktemp -d)
SESSION_PIDS=()
GAME=

end_session() {
  local i
  for ((i = ${#SESSION_PIDS[@]} - 1; i >= 0; i--)); do
    kill "${SESSION_PIDS[i]}" 2>/dev/null && wait "${SESSION_PIDS[i]}" 2>/dev/null
  done
  rm -rf "$WORK"
}
trap end_session EXIT

# Returns 2 when no X server can be started, 1 when the window manager does not come up.
start_x_session() {
  command -v Xvfb >/dev/null || { SESSION_ERROR="Xvfb is not installed"; return 2; }
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  XVFB=$!
  SESSION_PIDS+=("$XVFB")
  for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    kill -0 "$XVFB" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$WORK/display" ]; then
    SESSION_ERROR="Xvfb did not start: $(tail -n 1 "$WORK/xvfb.log")"
    return 2
  fi
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  openbox --sm-disable >/dev/null 2>&1 &
  SESSION_PIDS+=($!)
  for _ in $(seq 100); do
    wmctrl -m >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  SESSION_ERROR="openbox did not start"
  return 1
}

# start_game GAME_DIR LOG: runs a copy of the game folder with set.ini in $WORK and
# no sound hardware needed; the process id is left in GAME.
start_game() {
  [ -d "$WORK/game" ] || cp -r "$1" "$WORK/game"
  mkdir -p "$WORK/config"
  XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy "$WORK/game/akari" >"$2" 2>&1 &
  GAME=$!
  SESSION_PIDS+=("$GAME")
}

# The game window's id, waiting up to ten seconds for it.
find_window() {
  local id
  for _ in $(seq 100); do
    id=$(wmctrl -l | grep -F "$CAPTION" | head -n 1 | cut -d ' ' -f 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Sets ORIGIN_X and ORIGIN_Y to the screen position of the window's client area.
window_origin() {
  read -r ORIGIN_X ORIGIN_Y < <(xwininfo -id "$1" |
    awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} END{print x, y}')
}

# A press at client pixel (x, y) as a player makes it: down, a pause, up.
click_at() {
  xdotool mousemove "$((ORIGIN_X + $1))" "$((ORIGIN_Y + $2))"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
}
