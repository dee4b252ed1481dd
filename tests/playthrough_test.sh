#!/usr/bin/env bash
# The whole story played in the real program under Xvfb and openbox, driven as a player
# drives it. Run 1: through the logo, notice and title, reading with clicks, Return and
# held Ctrl, the first option of both choices, through the end card back to the title,
# where held Ctrl stops, and Escape. Run 2: the
# second option of the early choice, a save in slot No.3 (the third button, z_save2.sdt),
# quit by the panel's button and its prompt. Run 3: slot No.3 loaded, the second option
# of the story choice, to the other ending and the title again. Screenshots at fixed
# points are checked and kept.
# Usage: playthrough_test.sh GAME_DIR SHOTS_DIR. Exit 77: no X server, skipped.
set -u
GAME_SRC=$1 SHOTS=$2
. "$(dirname "$0")/xvfb_session.sh"

fail() { echo "FAIL: $*"; tail -n 5 "$WORK"/run*.log; keep_shots; exit 1; }
keep_shots() { mkdir -p "$SHOTS" && cp "$WORK"/[0-9]*.png "$SHOTS/" 2>/dev/null; }
start_x_session
case $? in 2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;; 1) fail "$SESSION_ERROR" ;; esac

# The pixels of a rectangle that are the pure red of a highlighted row (the game's colour
# 0x0000FF is blue, green, red from the low byte).
red_pixels() {
  convert "$WORK/$1.png" -crop "${4}x${5}+$2+$3" +repage -fx 'r>0.9&&g<0.1&&b<0.1' \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}
# check_shown SHOT NAME ...: layer_shown, failing the test when the picture is not there.
check_shown() { layer_shown "$WORK/$1.png" "${@:2}" || fail "$1: $LAYER_REPORT"; echo "ok: $1: $LAYER_REPORT"; }
# check_text SHOT X Y W H WHAT: at least 300 near-white pixels in the rectangle: a line
# of the story in the message window.
check_text() {
  local n
  n=$(white_pixels "$1" "$2" "$3" "$4" "$5")
  [ "$n" -ge 300 ] || fail "$1: no $6 ($n white pixels)"
  echo "ok: $1: $6 ($n white pixels)"
}
# check_notice SHOT BEFORE WHAT: the menu's notice, drawn in the margin left of its rows
# from (10, 92) on, changed at least 150 pixels there since the photograph BEFORE.
check_notice() {
  local n
  n=$(pixels_changed "$2" "$1" 10 92 156 68)
  [ "$n" -ge 150 ] || fail "$1: no $3 ($n pixels changed)"
  echo "ok: $1: $3 ($n pixels changed)"
}
# Whether the choice box is open in the photograph (its text and highlight over it).
choice_open() { shot "$1" && layer_shown "$WORK/$1.png" comwin 0 0 470 200 58 90 0 40; }

press() { xdotool key --window "$WINDOW" "$1"; }
# Starts a run and waits for its window, then goes through the logo (which ends by
# itself), the notice and the title into the story's first page: a busy machine may
# stretch the logo past its six seconds, so it clicks on until the panel shows.
start_run() {
  local n
  start_game "$GAME_SRC" "$WORK/run$1.log"
  WINDOW=$(find_window) || fail "run $1: no window"
  xdotool windowactivate --sync "$WINDOW" 2>/dev/null
  sleep 6
  window_origin "$WINDOW"
  click_at 300 300; sleep 1; click_at 300 300; sleep 1.5
  for ((n = 0; n < 5; n++)); do
    shot "$1-start" || fail "no screenshot"
    layer_shown "$WORK/$1-start.png" panel 0 0 166 377 474 0 1 1 && return
    click_at 300 300; sleep 1.5
  done
  fail "run $1: no story page after the logo, the notice and the title"
}
# Holds Ctrl until the choice box opens (held Ctrl never picks an option), at most 60 s.
skip_to_choice() {
  local n
  xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 360)) keydown ctrl
  for ((n = 0; n < 120; n++)); do
    sleep 0.5
    choice_open "$1" && break
    kill -0 "$GAME" 2>/dev/null || { xdotool keyup ctrl; fail "$1: the game ended before a choice"; }
  done
  xdotool keyup ctrl
  [ $n -lt 120 ] || fail "$1: no choice box after 60 s of held Ctrl"
  echo "ok: $1: held Ctrl stops at the choice box"
}
# choose SHOT N: the pointer over option N, whose row must be filled in red, then a click.
choose() {
  local top=$((140 + 40 * $2)) n
  xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + top + 17)); sleep 0.6
  shot "$1" || fail "no screenshot"
  check_shown "$1" comwin 0 0 470 200 58 90 0 40
  n=$(red_pixels "$1" 80 "$top" 433 36)
  [ "$n" -ge 400 ] || fail "$1: option $2 is not highlighted ($n red pixels)"
  [ "$(red_pixels "$1" 80 $((140 + 40 * (1 - $2))) 433 36)" -lt 100 ] ||
    fail "$1: the other option is highlighted too"
  echo "ok: $1: option $2 highlighted under the pointer"
  click_at 300 $((top + 17)); sleep 1
}
# Holds Ctrl through the ending and its end card until the title comes back, at most
# 90 s; holds it two seconds more, and the title must stay (held Ctrl never takes it).
skip_to_title() {
  local n
  xdotool mousemove $((ORIGIN_X + 300)) $((ORIGIN_Y + 360)) keydown ctrl
  for ((n = 0; n < 180; n++)); do
    sleep 0.5
    shot "$1" && layer_shown "$WORK/$1.png" tit 0 0 640 474 0 0 0 5 && break
    kill -0 "$GAME" 2>/dev/null || { xdotool keyup ctrl; fail "$1: the game ended instead of showing the title"; }
  done
  [ $n -lt 180 ] || { xdotool keyup ctrl; fail "$1: no title after 90 s of held Ctrl"; }
  sleep 2
  shot "$1-held"
  xdotool keyup ctrl
  check_shown "$1-held" tit 0 0 640 474 0 0 0 5
  echo "ok: $1: the ending returns to the title, where held Ctrl stops"
}
# Escape ends the game with status 0.
quit_by_escape() {
  press Escape
  TRIES=50 retry eval '! kill -0 $GAME 2>/dev/null' || fail "$1: Escape did not end the game"
  wait "$GAME" || fail "$1: exit status $?"
  echo "ok: $1: Escape ends the game with status 0"
}
# The story's page as a whole: the band of PICTURE (any of its first COUNT bands, for an
# animated one), the panel, and text in the message window.
check_page() {
  local band
  for ((band = 0; band < $3; band++)); do
    layer_shown "$WORK/$1.png" "$2" 0 $((375 * band)) 474 375 0 0 0 1 && break
  done
  [ "$band" -lt "$3" ] || fail "$1: $LAYER_REPORT (and its other bands)"
  echo "ok: $1: band $band of $2"
  check_shown "$1" panel 0 0 166 377 474 0 1 1
  check_text "$1" 0 378 470 96 "message text"
}

# Run 1: clicks, Return, Ctrl; the first option twice (so the coat is lent); the title
# again, and Escape.
start_run 1
shot 1-first-page || fail "no screenshot"
check_page 1-first-page sc01 1
click_at 300 360; sleep 0.6; click_at 300 360; sleep 0.6
press Return; sleep 0.6; press Return; sleep 0.6
shot 1-read || fail "no screenshot"
[ "$(compare -metric AE "$WORK/1-first-page.png" "$WORK/1-read.png" null: 2>&1 | cut -d ' ' -f 1)" -gt 500 ] ||
  fail "1-read: clicks and Return did not move the story on"
check_text 1-read 0 378 470 96 "message text after clicks and Return"
skip_to_choice 1-early-choice
choose 1-early-choice 0
shot 1-after-early || fail "no screenshot"
check_text 1-after-early 0 378 470 96 "the first option's text"
skip_to_choice 1-story-choice
choose 1-story-choice 0
shot 1-first-branch || fail "no screenshot"
check_page 1-first-branch sc46 4
skip_to_title 1-title-again
quit_by_escape 1-title-again

# Run 2: the other option, a save in slot No.3, the panel's quit and its prompt.
start_run 2
skip_to_choice 2-early-choice
choose 2-early-choice 1
shot 2-after-early || fail "no screenshot"
check_text 2-after-early 0 378 470 96 "the second option's text"
[ "$(compare -metric AE "$WORK/1-after-early.png" "$WORK/2-after-early.png" null: 2>&1 | cut -d ' ' -f 1)" -gt 300 ] ||
  fail "2-after-early: the second option shows the first option's line"
click_at 300 360; sleep 0.8
click_at 300 300 3; sleep 0.8
shot 2-menu || fail "no screenshot"
check_shown 2-menu savaback 0 0 640 474 0 0 0 10
click_at $((170 + 63 * 2 + 10)) 100; sleep 0.8
shot 2-saved || fail "no screenshot"
check_notice 2-saved 2-menu "the save's notice"
[ -s "$WORK/game/z_save2.sdt" ] || fail "slot No.3 (z_save2.sdt) was not written"
echo "ok: slot No.3 saved: $(tr -d '\r' <"$WORK/game/z_save2.sdt")"
click_at 300 300; sleep 0.8
click_at 580 336; sleep 0.8   # the panel's quit button opens its prompt
shot 2-quit-prompt || fail "no screenshot"
check_shown 2-quit-prompt comwin 0 0 470 200 58 90 0 40
kill -0 "$GAME" 2>/dev/null || fail "the quit button ended the game without its prompt"
click_at 300 157              # ゲームを終了する
TRIES=50 retry eval '! kill -0 $GAME 2>/dev/null' || fail "the prompt's quit did not end the game"
wait "$GAME" || fail "quit by the prompt: exit status $?"
echo "ok: the panel's quit and its prompt end the game with status 0"

# Run 3: slot No.3 loaded, the second option of the story choice, the other ending.
start_run 3
click_at 300 300 3; sleep 0.8
shot 3-menu || fail "no screenshot"
click_at $((170 + 63 * 2 + 10)) 182; sleep 0.8
shot 3-loaded || fail "no screenshot"
check_notice 3-loaded 3-menu "the load's notice"
click_at 300 300; sleep 1
skip_to_choice 3-story-choice
choose 3-story-choice 1
shot 3-second-branch || fail "no screenshot"
check_page 3-second-branch sc45 4
skip_to_title 3-title-again
quit_by_escape 3-title-again
keep_shots
