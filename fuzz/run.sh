#!/usr/bin/env bash
# Runs the fuzz targets of a checking build.
#   fuzz/run.sh replay BUILD          every input of fuzz/corpus/<target> once
#   fuzz/run.sh fuzz BUILD [SECONDS]  fuzz each target for SECONDS (default 60)
#                                     and add what reaches new code to the corpus
# Either fails on the first target that crashes, leaks, hangs or breaks one of
# its checks, and shows the report; a fuzzing crash leaves its input in
# BUILD/fuzz-artifacts/ for fuzz/corpus/ and a unit test.
set -uo pipefail
cd "$(dirname "$0")/.."
mode=${1:?replay or fuzz}
build=${2:?build folder}
seconds=${3:-60}
targets=(fuzz_keys fuzz_results fuzz_equation fuzz_names)
# The targets write their scratch files for every input; in memory that
# costs nothing, on a disk each results file written is a sync. A crashing
# input leaves its scratch folder (qt_temp-*, holding cwd/ and program/).
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
logs="$build/fuzz-logs"
mkdir -p "$logs" "$build/fuzz-artifacts"

for t in "${targets[@]}"; do
  bin="$build/fuzz/$t"
  corpus="fuzz/corpus/$t"
  log="$logs/$t-$mode.log"
  mkdir -p "$corpus"
  start=$(date +%s%N)
  if [ "$mode" = replay ]; then
    "$bin" -runs=0 -timeout=10 -artifact_prefix="$build/fuzz-artifacts/$t-" "$corpus" >"$log" 2>&1
  else
    # New inputs go to a scratch folder first; only those that reach a
    # branch no corpus input reaches are added to the corpus. Hit counts are
    # not told apart there, and nothing is taken away, so the corpus grows
    # only with new code reached and stays to a few hundred files.
    fresh="$build/fuzz-new/$t"
    rm -rf "$fresh" && mkdir -p "$fresh"
    "$bin" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/fuzz-artifacts/$t-" "$fresh" "$corpus" >"$log" 2>&1 &&
      "$bin" -merge=1 -use_counters=0 -timeout=10 "$corpus" "$fresh" >"$log.merge" 2>&1
  fi
  status=$?
  tenths=$((($(date +%s%N) - start) / 100000000))
  if [ $status -ne 0 ]; then
    echo "$t: FAILED ($mode, exit $status); the end of $log:"
    tail -n 60 "$log"
    exit 1
  fi
  files=$(find "$corpus" -type f | wc -l)
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -n 1)
  counts=$(grep "^$t: " "$log" | tail -n 1)
  printf '%s (%s, %d.%d s): corpus %s files%s; %s\n' "$t" "$mode" $((tenths / 10)) $((tenths % 10)) "$files" \
    "${execs:+, $execs execs}" "${counts#"$t: "}"
done
