#!/usr/bin/env bash
# Runs the fuzz targets of a fuzz build.
#   fuzz/run_all.sh BUILD_DIR [MINUTES [TARGET...]]  each target for MINUTES (default 10),
#       one after another, at low priority, going on after a fault; the growing corpus is in
#       BUILD_DIR/fuzz-corpus/<name>, crashing inputs in BUILD_DIR/fuzz-crashes/<name>
#       (copy them to fuzz/regressions/<name> once mended).
#   fuzz/run_all.sh --smoke EXE SEEDS REGRESSIONS RUNS  the test run's short fixed run.
# Build: CC=clang CXX=clang++ cmake -S . -B build-check -DAKARI_SANITIZE=address -DAKARI_FUZZ=ON
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
# The targets' private folders (game copies among them) go into one scratch folder that
# goes at the end, also the folders of processes killed for a timeout.
AKARI_FUZZ_TMP=$(mktemp -d) && export AKARI_FUZZ_TMP
trap 'rm -rf "$AKARI_FUZZ_TMP"' EXIT

if [ "${1:-}" = --smoke ]; then
  exe=$2 seeds=$3 regressions=$4 runs=$5
  scratch=$AKARI_FUZZ_TMP/new && mkdir "$scratch"
  # New inputs go to the first folder: a scratch one, so the seeds stay as written.
  [ -d "$regressions" ] || regressions=$scratch
  # A slow input is reported only past two minutes: a busy machine must not fail the
  # test run, but a hang must. What fails is kept in the folder the test runs in.
  "$exe" -seed=1 -runs="$runs" -timeout=120 -rss_limit_mb=3000 -artifact_prefix="$PWD/" \
    "$scratch" "$seeds" "$regressions"
  exit
fi

# Absolute, as the story target moves into its own program directory.
build=$(cd "${1:?usage: run_all.sh BUILD_DIR [MINUTES [TARGET...]]}" && pwd)
minutes=${2:-10}
shift $(($# < 2 ? $# : 2))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(bmp wave midi saves state settings text script story)
status=0
for name in "${targets[@]}"; do
  corpus=$build/fuzz-corpus/$name crashes=$build/fuzz-crashes/$name
  mkdir -p "$corpus" "$crashes"
  echo "== $name: $minutes min"
  # One process at a time, started again after each fault until the minutes are used:
  # libFuzzer's fork mode gives its first jobs a few seconds each, too few for the
  # story target to run its seeds, and so never fuzzed it. A run that ends within ten
  # seconds stops the target, which must then be broken.
  end=$((SECONDS + minutes * 60))
  : >"$build/fuzz-$name.log"
  while [ $SECONDS -lt $end ]; do
    started=$SECONDS
    nice -n 10 "$build/fuzz/${name}_fuzz" -max_total_time=$((end - SECONDS)) -timeout=60 \
      -rss_limit_mb=3000 -report_slow_units=60 -artifact_prefix="$crashes/" -print_final_stats=1 \
      "$corpus" "$build/fuzz-seeds/$name" $([ -d "$HERE/regressions/$name" ] && echo "$HERE/regressions/$name") \
      >>"$build/fuzz-$name.log" 2>&1 && break
    [ $((SECONDS - started)) -gt 10 ] ||
      { echo "   $name stopped at once: see $build/fuzz-$name.log"; status=1; break; }
  done
  grep -E '^(stat::number_of_executed_units|#[0-9]+\s+(pulse|NEW|REDUCE|DONE))' "$build/fuzz-$name.log" |
    tail -n 1
  if [ -n "$(ls -A "$crashes")" ]; then
    status=1
    echo "   $name found faults: $(ls "$crashes" | tr '\n' ' ')"
  fi
done
exit $status
