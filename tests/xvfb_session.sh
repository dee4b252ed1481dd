# Sourced by the real-window test and the CPU benchmark: a virtual X server with a
# window manager, the game run from a copy of its folder, and helpers to find and click
# its window. Files live in $WORK; what was started ends when the sourcing script exits.
CAPTION="灯りの駅"
WORK=$(mktemp -d)
# The single-instance lock lives in the runtime folder: one of the session's own, so
# that a copy started by someone else on this machine does not count as the first.
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
SESSION_PIDS=()
trap 'kill "${SESSION_PIDS[@]}" 2>/dev/null; wait; rm -rf "$WORK"' EXIT

# Runs the command every 0.1 s until it succeeds, at most TRIES times (default 100).
retry() { local n; for ((n = 0; n < ${TRIES:-100}; n++)); do "$@" && return 0; sleep 0.1; done; return 1; }

# Returns 2 when no X server can be started, 1 when the window manager does not come up.
start_x_session() {
  command -v Xvfb >/dev/null || { SESSION_ERROR="Xvfb is not installed"; return 2; }
  rm -f "$WORK/display"  # a second session must not read the first one's number
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  XVFB=$! && SESSION_PIDS+=("$XVFB")
  retry eval '[ -s "$WORK/display" ] || ! kill -0 $XVFB 2>/dev/null'
  [ -s "$WORK/display" ] || { SESSION_ERROR="Xvfb did not start: $(tail -n 1 "$WORK/xvfb.log")"; return 2; }
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  openbox --sm-disable >/dev/null 2>&1 & SESSION_PIDS+=($!)
  retry wmctrl -m >/dev/null 2>&1 || { SESSION_ERROR="openbox did not start"; return 1; }
}

# copy_game SOURCE DEST: a game folder of the test's own. The clips and the music, which
# the game only reads, are hard links to SOURCE's; the program, the pictures (the game
# writes their signature as it loads them) and anything else are copies.
copy_game() {
  local file start
  cp -rl "$1" "$2" 2>/dev/null || { rm -rf "$2"; cp -r "$1" "$2"; return; }
  while IFS= read -r -d '' file; do
    IFS= read -r -n 4 start <"$file"
    case $start in RIFF | MThd | OggS) ;; *) cp --remove-destination "$1/${file#"$2"/}" "$file" ;; esac
  done < <(find "$2" -type f -print0)
}

# start_game GAME_DIR LOG: runs the game with set.ini in $WORK and SDL's audio driver
# AUDIO (dummy, which needs no sound hardware, when unset); its process id is left in GAME.
start_game() {
  [ -d "$WORK/game" ] || copy_game "$1" "$WORK/game"
  XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=${AUDIO:-dummy} "$WORK/game/akari" >"$2" 2>&1 &
  GAME=$! && SESSION_PIDS+=("$GAME")
}

# The game window's id, waiting up to ten seconds for it.
find_window() { retry eval 'wmctrl -l | grep -F "$CAPTION" | head -n 1 | cut -d " " -f 1 | grep .'; }

# Sets ORIGIN_X, ORIGIN_Y (the client area's place on the screen), WIDTH and HEIGHT.
window_origin() {
  read -r ORIGIN_X ORIGIN_Y WIDTH HEIGHT < <(xwininfo -id "$1" | awk '/Absolute upper-left X:/{x=$4}
    /Absolute upper-left Y:/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
}

# click_at X Y [BUTTON]: a press at client pixel (X, Y) as a player makes it: down, a
# pause, up; the left button unless another is named (3: the right one).
click_at() {
  xdotool mousemove $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)) sleep 0.2 mousedown "${3:-1}" sleep 0.1 mouseup "${3:-1}"
}

# shot NAME: the window's client area (at ORIGIN) photographed into $WORK/NAME.png.
shot() { import -window root -crop "640x474+$ORIGIN_X+$ORIGIN_Y" +repage "$WORK/$1.png"; }

# white_pixels SHOT X Y W H: the near-white pixels of a rectangle of $WORK/SHOT.png, which
# is text drawn by the game.
white_pixels() {
  convert "$WORK/$1.png" -crop "${4}x${5}+$2+$3" +repage -colorspace gray -threshold 90% \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}

# pixels_changed SHOT_A SHOT_B X Y W H: how many pixels of the rectangle differ between
# $WORK/SHOT_A.png and $WORK/SHOT_B.png: what was drawn between the two.
pixels_changed() {
  local at="[${5}x${6}+$3+$4]"
  compare -metric AE "$WORK/$1.png$at" "$WORK/$2.png$at" null: 2>&1 | cut -d " " -f 1
}

# layer_shown SHOT NAME X Y W H DEST_X DEST_Y KEYED MAX_PERCENT: whether the W x H
# rectangle at (X, Y) of NAME.sad (in PICTURES, or the game's copy), without its key colour (the top-left pixel) when KEYED
# is 1, is what the photograph SHOT shows at DEST but for MAX_PERCENT of its pixels (text
# or pointer over it). LAYER_REPORT says how many pixels differed.
layer_shown() {
  local shot=$1 bmp="$WORK/$2.bmp" key=() opaque differing
  shift
  { printf BM; tail -c +3 "${PICTURES:-$WORK/game}/$1.sad"; } >"$bmp"  # the signature written back
  [ "$8" -eq 0 ] || key=(-transparent "$(convert "$bmp" -format '%[pixel:p{0,0}]' info:)")
  convert "$bmp" -crop "${4}x${5}+$2+$3" +repage -alpha set "${key[@]}" "$WORK/layer.png"
  convert "$shot" -crop "${4}x${5}+$6+$7" +repage "$WORK/shown.png"
  opaque=$(convert "$WORK/layer.png" -alpha extract -format '%[fx:int(mean*w*h+0.5)]' info:)
  differing=$(convert "$WORK/shown.png" "$WORK/layer.png" -composite miff:- |
    compare -metric AE "$WORK/shown.png" - null: 2>&1)
  differing=${differing%% *}
  LAYER_REPORT="$1: $differing of $opaque pixels differ from the picture"
  [ "$opaque" -ge 1000 ] && [ $((differing * 100)) -le $((opaque * $9)) ]
}

# await_layer NAME LAYER ...: photographs the window (where it is now) into NAME until
# layer_shown finds the layer there, for at most TRIES (40) half seconds: a busy machine
# stretches the logo and slows every step.
await_layer() {
  local n
  for ((n = 0; n < ${TRIES:-40}; n++)); do
    window_origin "$WINDOW"
    shot "$1" && layer_shown "$WORK/$1.png" "${@:2}" && return 0
    sleep 0.5
  done
  return 1
}

# check_shown SHOT LAYER ...: layer_shown, failing the test when the picture is not there;
# await_shown: the same, photographing until the layer shows.
check_shown() { layer_shown "$WORK/$1.png" "${@:2}" || fail "$1: $LAYER_REPORT"; echo "ok: $1: $LAYER_REPORT"; }
await_shown() { await_layer "$@" || fail "$1: $LAYER_REPORT"; echo "ok: $1: $LAYER_REPORT"; }
