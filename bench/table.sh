#!/usr/bin/env bash
# Every measurement in one table: frame composition, text layout, mixing, memory of a
# whole playthrough (headless), start-up and CPU of the real window (under Xvfb).
# Usage: bench/table.sh [BUILD_DIR]  (a Release build; ./test installs what it needs)
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:-$HERE/../build}" && pwd)
BENCH=$BUILD/bench/akari_bench

# bench_value BENCHMARK COLUMN: one value of one benchmark, from Google Benchmark's CSV
# output of that benchmark alone (benchmarks with other counters in the same run would
# change its columns).
bench_value() {
  "$BENCH" --benchmark_filter="^$1\$" --benchmark_format=csv 2>/dev/null |
    awk -F, -v c="$2" '/^name,/ { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); col[$i] = i }; next }
      col[c] { print $col[c]; exit }'
}
row() { printf '%-58s %s\n' "$1" "$2"; }

echo "What                                                       Measured"
echo "---------------------------------------------------------- ---------------------------"
row "Back buffer memcpy (700x520x4)" "$(bench_value MemcpyBackBuffer memcpy_us) us"
row "Story frame (wave band, panel, frame, pointer) / memcpy" \
  "$(bench_value StoryFrame memcpys) x"
row "Longest prose line: layout and reduction, glyphs cached" \
  "$(bench_value BM_ProseLineWarmCache cpu_time) us"
row "Longest prose line: layout and reduction, glyphs rendered" \
  "$(bench_value BM_ProseLineColdCache cpu_time) us"
rtf=$(bench_value MixTwoVoicesAndMusic realtime)
row "Mixing two voices and music: real-time factor" "$(awk -v r="$rtf" 'BEGIN{printf "%.0f x", r}')"
row "Playthrough with Ctrl held (headless): peak resident set" \
  "$(bench_value PlaythroughWithCtrlHeld/iterations:1 peak_rss_mb) MB"

# The real window: start-up, then the CPU of a still page and of a waving one.
. "$HERE/../tests/xvfb_session.sh"
if ! start_x_session; then
  row "Real window" "not measured: $SESSION_ERROR"
  exit 0
fi
# exec to the first frame with the logo, click to the first change, page turn to the
# first change and peak memory, from the window probe (the CPU rows below come from the
# still page, the quit prompt, the waving page and the open choice).
cp -r "$BUILD/game" "$WORK/game"
if /usr/bin/python3 -c 'import Xlib' 2>/dev/null; then
  XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy \
    /usr/bin/python3 "$HERE/window_probe.py" "$WORK/game/akari" "$XVFB" |
    grep -E '^(exec|click|page turn|peak)' | while IFS= read -r line; do
      row "Real window: ${line%%  *}" "${line##*  }"
    done
else
  row "Real window: start-up, click, memory" "not measured: python3-xlib is not installed"
fi
bash "$HERE/cpu_static_page.sh" "$BUILD" | while IFS= read -r line; do
  row "CPU over 10 s: ${line%% game*}" "game${line#*game}"
done
