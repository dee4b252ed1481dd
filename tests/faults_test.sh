#!/usr/bin/env bash
# Faults and bad input in the real program under Xvfb: missing and broken assets, no
# SoundFont, no audio device, bad saves and settings, a read-only game folder, a full
# disk during a save, SIGKILL during a save, SIGTERM while an error box is open, and the
# reader's place kept on SIGTERM and SIGHUP. Each copy runs in its own mount namespace
# inside the test's user namespace, where read-only bind mounts and small tmpfs mounts
# need no privileges.
# Usage: faults_test.sh GAME_DIR SCRIPT_FILE. Exit 77: no X server or no namespaces.
set -u
# The whole test, its X server included, in one user and network namespace: its abstract
# sockets (the X server's, the game's single-instance lock) are its own.
if [ -z "${AKARI_FAULTS_NAMESPACE:-}" ]; then
  unshare -rmn true 2>/dev/null || { echo "SKIP: no user namespaces (unshare -rmn)"; exit 77; }
  AKARI_FAULTS_NAMESPACE=1 exec unshare -rmn bash "$0" "$@"
fi
GAME_SRC=$1 SCRIPT=$2
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
  [ -n "${FOLDER:-}" ] || { rm -rf "$G" && cp -r "$GAME_SRC" "$G"; }
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
close_box() {
  local id
  id=$(wmctrl -l | grep -F "$BOX" | head -n 1 | cut -d " " -f 1)
  xdotool windowactivate --sync "$id" key Return 2>/dev/null
  TRIES=30 retry eval '! box_open' || fail "$CASE: the error box does not close"
}
alive() { kill -0 "$AKARI" 2>/dev/null || fail "$CASE: the game ended ($1)"; }
# Through the logo, the notice and the title to the story's first page.
to_story() {
  sleep 6
  window_origin "$WINDOW"  # where the window manager has put it by now
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
# Escape must end the game with status 0 within two seconds.
escape_ends() {
  xdotool windowactivate --sync "$WINDOW" 2>/dev/null
  xdotool keydown Escape sleep 0.1 keyup Escape
  TRIES=20 retry test -s "$WORK/$CASE.status" || fail "$CASE: Escape did not end the game"
  [ "$(cat "$WORK/$CASE.status")" = 0 ] || fail "$CASE: exit status $(cat "$WORK/$CASE.status")"
  wait "$GAME"
}
# Opens the menu, photographs it as $CASE-menu, and saves in slot 0.
menu_save_slot0() {
  click_at 300 200 3; sleep 0.5
  shot "$CASE-menu" || fail "no screenshot"
  click_at 195 100; sleep 0.5
}
# The menu's notice is drawn in the margin left of its rows from (10, 92) on: セーブし
# ました ends near x 125, the first row of セーブできませんでした runs on to x 157, over
# the menu's card from x 150, which the notice dims (the hint under either may fall
# anywhere below). Prints how many pixels of the part only the long one covers changed
# since the menu opened.
long_notice() { pixels_changed "$CASE-menu" "$1" 128 92 20 20; }

# A missing picture and a corrupt one: the box says so, and the story goes on.
for broken in "rm \"\$G/$PICTURE.sad\"" "truncate -s 100 \"\$G/$PICTURE.sad\""; do
  run_case picture "$broken"
  to_story
  click_to_box || fail "picture ($broken): no error box"
  close_box
  sleep 0.5; alive "after the box"; click_at 250 200; sleep 0.5; alive "a click after the box"
  escape_ends
  echo "ok: $broken: an error box, then the story goes on; Escape ends it with 0"
done

# SIGTERM while the box is open ends the program at once.
run_case term "rm \"\$G/$PICTURE.sad\""
to_story
click_to_box || fail "term: no error box"
kill -TERM "$AKARI"
TRIES=30 retry test -s "$WORK/term.status" || fail "term: still running 3 s after SIGTERM"
wait "$GAME"
TRIES=30 retry eval '! box_open' || fail "term: the box outlives the program"
echo "ok: SIGTERM with an error box open ends the game (status $(cat "$WORK/term.status"))"

# With a working audio device: the story's first piece missing (nothing plays, no box),
# its first voice clip cut in half (its data runs past the file's end) and its second
# missing: a box for each clip when its line comes, and the story goes on.
CLIPS=($(sed -n 's/^wave_play:\(.*\)\r\?$/\1/p' "$SCRIPT" | head -n 2))
MUSIC=$(sed -n 's/^midi_play:\(.*\)\r\?$/\1/p' "$SCRIPT" | head -n 1)
run_case sounds "rm \"\$G/$MUSIC\" \"\$G/${CLIPS[1]}\"
  truncate -s \$((\$(stat -c %s \"\$G/${CLIPS[0]}\") / 2)) \"\$G/${CLIPS[0]}\""
to_story
box_open && fail "sounds: a box for the missing piece"
for clip in "${CLIPS[@]}"; do
  click_to_box 30 || fail "sounds: no box for $clip"
  close_box
  alive "after the box for $clip"
done
click_at 250 200; sleep 0.5; alive "a click after the boxes"
escape_ends
echo "ok: a missing piece plays nothing; a truncated and a missing clip each show a box, then the story goes on"

# No audio device, no music files: silent, no box.
AUDIO=nosuchdriver run_case silent "rm -f \"\$G\"/*.mid \"\$G\"/voice*.sad"
to_story
box_open && fail "silent: an error box"
alive "no audio device"
click_at 250 200; sleep 0.5; click_at 250 200; sleep 0.5
box_open && fail "silent: an error box after the story moved on"
escape_ends
echo "ok: no audio device and no music or voice files: the story runs silent"

# No SoundFont anywhere: the music's box once, during the opening without a click (the
# SoundFont is looked for once the first frame is out), then the story; none at the end.
run_case nosf "mount -t tmpfs tmpfs /usr/share/sounds; rm -f \"\$G\"/*.sf2"
TRIES=120 retry box_open || fail "nosf: no box during the opening for the missing SoundFont"
close_box
to_story
alive "no SoundFont"
click_at 250 200; sleep 1
box_open && fail "nosf: a second box"
escape_ends
echo "ok: no SoundFont: one box during the opening, then the story without music"

# Bad saves and settings: a FIFO as slot 0, garbage as slot 1, line 99999 as slot 2; a
# long owlsys.ini token (read at start) and a 500-character set.ini value (read only by
# a load: line, which the shipped story has not). Loading each slot must not hang, and
# the story goes on after each load's notice.
run_case badsaves "mkfifo \"\$G/z_save0.sdt\"; head -c 3000 /dev/urandom >\"\$G/z_save1.sdt\"
  printf '01,040,001,001,001,99999\r\n' >\"\$G/z_save2.sdt\"
  printf '%05000d\r\n' 1 >\"\$G/owlsys.ini\"
  mkdir -p \"\$XDG_CONFIG_HOME/akari\"; printf '[st]\nsc=%0500d\n' 7 >\"\$XDG_CONFIG_HOME/akari/set.ini\""
to_story
for slot in 0 1 2; do
  click_at 300 200 3; sleep 0.5; click_at $((170 + 63 * slot + 10)) 182; sleep 1
  alive "loading slot $slot"
  click_at 300 300; sleep 0.5   # closes the notice
  alive "the story after loading slot $slot"
  box_open && fail "badsaves: an error box after loading slot $slot"
done
escape_ends
echo "ok: a FIFO, garbage and line 99999 as slots, a long owlsys.ini token, a long set.ini value"

# A read-only game folder: pictures load; a save goes to the data folder instead.
run_case readonly "mount --bind \"\$G\" \"\$G\"; mount -o remount,bind,ro \"\$G\""
to_story
box_open && fail "readonly: an error box"
import -window root -crop "64x64+$((ORIGIN_X + 200))+$((ORIGIN_Y + 150))" +repage "$WORK/ro.png"
[ "$(convert "$WORK/ro.png" -format '%[fx:maxima.r+maxima.g+maxima.b > 0.1]' info:)" = 1 ] ||
  fail "readonly: the picture band is black"
menu_save_slot0
shot readonly-notice || fail "no screenshot"
alive "a save with a read-only game folder"
escape_ends
grep -q '^z_save0' "$WORK/readonly.files" && fail "readonly: a slot was written into the game folder"
[ -s "$WORK/data-readonly/akari/z_save0.sdt" ] || fail "readonly: no slot in the data folder"
[ "$(long_notice readonly-notice)" -lt 10 ] || fail "readonly: the notice is the failure's"
echo "ok: a read-only game folder: the story's picture shows, the save is in the data folder"

# Both folders read-only: the save fails with its notice and writes nothing.
run_case nowhere "mount --bind \"\$G\" \"\$G\"; mount -o remount,bind,ro \"\$G\"
  mkdir -p \"\$XDG_DATA_HOME/akari\"; mount --bind \"\$XDG_DATA_HOME\" \"\$XDG_DATA_HOME\"
  mount -o remount,bind,ro \"\$XDG_DATA_HOME\""
to_story
menu_save_slot0
shot nowhere-notice || fail "no screenshot"
alive "a save with nowhere to go"
escape_ends
[ "$(long_notice nowhere-notice)" -ge 50 ] || fail "nowhere: no セーブできませんでした"
[ -z "$(ls -A "$WORK/data-nowhere/akari")" ] || fail "nowhere: the data folder was written"
grep -q '^z_save0' "$WORK/nowhere.files" && fail "nowhere: a slot was written into the game folder"
echo "ok: both folders read-only: セーブできませんでした, nothing written"

# A full disk during a save: the earlier save is kept whole, no temporary file is left.
run_case full "mkdir -p \"\$OUT.mnt\"
  mount -t tmpfs -o size=\$((\$(du -sk \"\$G\" | cut -f1) + 200))k tmpfs \"\$OUT.mnt\"
  cp -r \"\$G\"/. \"\$OUT.mnt\"; mount --bind \"\$OUT.mnt\" \"\$G\"
  printf '01,040,001,001,001,5\r\n' >\"\$G/z_save0.sdt\"
  dd if=/dev/zero of=\"\$G/filler\" bs=1k 2>/dev/null || true"
to_story
menu_save_slot0
shot full-notice || fail "no screenshot"
[ "$(long_notice full-notice)" -ge 50 ] || fail "full: no セーブできませんでした"
alive "a save onto a full disk"
escape_ends
grep -q '^z_save0.sdt:01,040,001,001,001,5$' "$WORK/full.files" ||
  fail "full: the earlier save is $(grep z_save0 "$WORK/full.files")"
grep -q '\.tmp$' "$WORK/full.files" && fail "full: a temporary file is left"
echo "ok: a full disk during a save: セーブできませんでした, the earlier save kept"

# SIGKILL right after a save starts: the slot holds a whole save, old or new.
run_case kill "printf '01,040,001,001,001,5\r\n' >\"\$G/z_save0.sdt\""
to_story
click_at 300 200 3; sleep 0.5
xdotool mousemove $((ORIGIN_X + 195)) $((ORIGIN_Y + 100)) click 1
kill -KILL "$AKARI"
wait "$GAME"
grep -Eq '^z_save0.sdt:01,040,001,001,001,[0-9]+$' "$WORK/kill.files" ||
  fail "kill: slot 0 holds $(grep z_save0 "$WORK/kill.files")"
echo "ok: SIGKILL during a save leaves a whole slot ($(grep z_save0 "$WORK/kill.files"))"

# SIGTERM in the middle of the story ends the game with 0, its place kept; the next run's
# つづきから shows the same picture and line, and SIGHUP there keeps the same place again
# (the line, the flags and the picture the kept file names).
ends_by() {  # ends_by SIGNAL: the game ends with 0 within three seconds, its place kept
  kill -"$1" "$AKARI"
  TRIES=30 retry test -s "$WORK/$CASE.status" || fail "$CASE: still running 3 s after SIG$1"
  wait "$GAME"
  [ "$(cat "$WORK/$CASE.status")" = 0 ] || fail "$CASE: SIG$1 gave status $(cat "$WORK/$CASE.status")"
  [ -s "$G/z_resume.state" ] || fail "$CASE: SIG$1 kept no place"
  cp "$G/z_resume.state" "$WORK/$CASE-$1.state"
}
run_case resume ""
to_story
click_at 40 430; sleep 1; click_at 40 430; sleep 2
xdotool mousemove $((ORIGIN_X + 600)) $((ORIGIN_Y + 20)); sleep 0.5
shot resume-left
ends_by TERM
FOLDER=$WORK/resume run_case continued ""
sleep 6
window_origin "$WINDOW"
click_at 40 430; sleep 1; click_at 560 412; sleep 2.5
xdotool mousemove $((ORIGIN_X + 600)) $((ORIGIN_Y + 20)); sleep 0.5
shot resume-continued
changed=$(pixels_changed resume-left resume-continued 0 0 640 474)
[ "$changed" -lt 50 ] || fail "resume: つづきから shows another screen ($changed pixels differ)"
ends_by HUP
cmp -n 4452 "$WORK/resume-TERM.state" "$WORK/continued-HUP.state" ||
  fail "resume: the place kept after つづきから is not the one left"
echo "ok: SIGTERM and SIGHUP keep the reader's place; つづきから comes back to it ($changed pixels differ)"
