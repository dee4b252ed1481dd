#!/usr/bin/env bash
# Faults in the real program under Xvfb that only it can meet: a missing picture's error
# box, closed from the keyboard, and SIGTERM while one is open; no audio device; and the
# reader's place kept on SIGTERM and SIGHUP. (Bad saves and settings, read-only folders,
# failing and cut-short writes and broken media are the headless tests' and the fuzz
# targets'.) Each copy runs in its own mount namespace inside the test's user namespace.
# Usage: faults_test.sh GAME_DIR SCRIPT_FILE. Exit 77: no X server or no namespaces.
set -u
# The whole test, its X server included, in one user and network namespace: its abstract
# sockets (the X server's, the game's single-instance lock) are its own.
if [ -z "${AKARI_FAULTS_NAMESPACE:-}" ]; then
  unshare -rmn true 2>/dev/null || { echo "SKIP: no user namespaces (unshare -rmn)"; exit 77; }
  AKARI_FAULTS_NAMESPACE=1 exec unshare -rmn bash "$0" "$@"
fi
GAME_SRC=$1 SCRIPT=$2 PICTURES=$1
. "$(dirname "$0")/xvfb_session.sh"

fail() { echo "FAIL: $*"; tail -n 5 "$WORK"/*.log; exit 1; }
start_x_session
case $? in 2) echo "SKIP: no X server can be started: $SESSION_ERROR"; exit 77 ;; 1) fail "$SESSION_ERROR" ;; esac

PICTURE=$(sed -n 's/^file:\(.*\)\.sad\r\?$/\1/p' "$SCRIPT" | head -n 1)
BOX="エラー発生"

# run_case NAME PREPARE: a fresh copy of the game folder in $G; PREPARE (shell text, run
# inside the namespace) may change it before the game starts there. When the game ends,
# its status is written to $WORK/NAME.status and what the folder then holds to
# $WORK/NAME.files (the namespace's mounts go with it).
# A copy that could not reach the X server of a busy machine is started once more.
run_case() {
  start_case "$@"
  if [ -z "$WINDOW" ] && [ -s "$WORK/$1.status" ]; then
    wait "$GAME"
    start_case "$@"
  fi
  [ -n "$WINDOW" ] || fail "$1: no window"
  window_origin "$WINDOW"
}
# With FOLDER set, the copy runs in that folder as the last one left it.
start_case() {
  CASE=$1
  G=${FOLDER:-$WORK/$1}
  # The last copy's windows may still be listed for a moment.
  TRIES=50 retry eval '! wmctrl -l | grep -qF -e "$CAPTION" -e "$BOX"'
  rm -rf "$WORK/$1".pid "$WORK/$1".status "$WORK/$1".files && mkdir -p "$WORK/config-$1"
  [ -n "${FOLDER:-}" ] || { rm -rf "$G" && copy_game "$GAME_SRC" "$G"; }
  XDG_CONFIG_HOME="$WORK/config-$1" XDG_DATA_HOME="$WORK/data-$1" SDL_AUDIODRIVER=${AUDIO:-dummy} G=$G OUT=$WORK/$1 \
    unshare -m bash -c "set -e; $2
      \"\$G/akari\" & echo \$! >\"\$OUT.pid\"; wait \$! && s=0 || s=\$?
      echo \$s >\"\$OUT.status\"; (cd \"\$G\" && for f in z_save*; do [ -f \"\$f\" ] && echo \"\$f:\$(tr -d '\r' <\"\$f\")\"; done; ls) >\"\$OUT.files\" 2>&1" \
    >"$WORK/$1.log" 2>&1 &
  GAME=$! && SESSION_PIDS+=("$GAME")
  TRIES=50 retry test -s "$WORK/$1.pid" || fail "$1: the game did not start"
  AKARI=$(cat "$WORK/$1.pid")
  # This copy's window, by its process id.
  WINDOW=$(TRIES=100 retry xdotool search --pid "$AKARI" --name "$CAPTION" | head -n 1)
}

# Whether an error box is open now.
box_open() { wmctrl -l | grep -qF "$BOX"; }
alive() { kill -0 "$AKARI" 2>/dev/null || fail "$CASE: the game ended ($1)"; }
# Through the logo (once the notice shows) and the title to the story's first page.
to_story() {
  await_layer "$CASE-notice" expr 0 0 450 165 90 150 0 2 || fail "$CASE: no notice ($LAYER_REPORT)"
  click_at 40 430; sleep 1; click_at 40 430; sleep 2
}
# Clicks on until an error box opens (a busy machine may stretch the logo); false after
# COUNT (10) clicks without one.
click_to_box() {
  local n
  for ((n = 0; n < ${1:-10}; n++)); do
    box_open && return 0
    click_at 40 430; sleep 1
  done
  box_open
}
# A missing picture: the box says so, closes from the keyboard, and the story goes on.
run_case picture "rm \"\$G/$PICTURE.sad\""
to_story
click_to_box || fail "picture: no error box"
BOX_ID=$(wmctrl -l | grep -F "$BOX" | head -n 1 | cut -d " " -f 1)
xdotool windowactivate --sync "$BOX_ID" key Return 2>/dev/null
TRIES=30 retry eval '! box_open' || fail "picture: the error box does not close"
sleep 0.5; alive "after the box"; click_at 250 200; sleep 0.5; alive "a click after the box"
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
xdotool keydown Escape sleep 0.1 keyup Escape
TRIES=20 retry test -s "$WORK/picture.status" || fail "picture: Escape did not end the game"
[ "$(cat "$WORK/picture.status")" = 0 ] || fail "picture: exit status $(cat "$WORK/picture.status")"
wait "$GAME"
echo "ok: a missing picture: an error box, then the story goes on; Escape ends it with 0"

# SIGTERM while the box is open ends the program at once.
run_case term "rm \"\$G/$PICTURE.sad\""
to_story
click_to_box || fail "term: no error box"
kill -TERM "$AKARI"
TRIES=30 retry test -s "$WORK/term.status" || fail "term: still running 3 s after SIGTERM"
wait "$GAME"
TRIES=30 retry eval '! box_open' || fail "term: the box outlives the program"
echo "ok: SIGTERM with an error box open ends the game (status $(cat "$WORK/term.status"))"

# With no audio device and no music files the story runs silent, without a box. SIGTERM
# in the middle of it ends the game with 0, its place kept; the next run's つづきから
# shows the same picture and line, and SIGHUP there keeps the same place again (the
# line, the flags and the picture the kept file names).
ends_by() {  # ends_by SIGNAL: the game ends with 0 within three seconds, its place kept
  kill -"$1" "$AKARI"
  TRIES=30 retry test -s "$WORK/$CASE.status" || fail "$CASE: still running 3 s after SIG$1"
  wait "$GAME"
  [ "$(cat "$WORK/$CASE.status")" = 0 ] || fail "$CASE: SIG$1 gave status $(cat "$WORK/$CASE.status")"
  [ -s "$G/z_resume.state" ] || fail "$CASE: SIG$1 kept no place"
  cp "$G/z_resume.state" "$WORK/$CASE-$1.state"
}
AUDIO=nosuchdriver run_case resume "rm -f \"\$G\"/*.mid"
to_story
box_open && fail "resume: an error box without an audio device"
click_at 40 430; sleep 1; click_at 40 430; sleep 2
box_open && fail "resume: an error box after the story moved on without an audio device"
xdotool mousemove $((ORIGIN_X + 600)) $((ORIGIN_Y + 20)); sleep 0.5
shot resume-left
ends_by TERM
FOLDER=$WORK/resume run_case continued ""
await_layer continued-notice expr 0 0 450 165 90 150 0 2 || fail "continued: no notice ($LAYER_REPORT)"
click_at 40 430; sleep 1; click_at 560 412; sleep 2.5
xdotool mousemove $((ORIGIN_X + 600)) $((ORIGIN_Y + 20)); sleep 0.5
shot resume-continued
changed=$(pixels_changed resume-left resume-continued 0 0 640 474)
[ "$changed" -lt 50 ] || fail "resume: つづきから shows another screen ($changed pixels differ)"
ends_by HUP
cmp -n 4452 "$WORK/resume-TERM.state" "$WORK/continued-HUP.state" ||
  fail "resume: the place kept after つづきから is not the one left"
echo "ok: SIGTERM and SIGHUP keep the reader's place; つづきから comes back to it ($changed pixels differ)"
