#!/usr/bin/env bash
# Runs the fuzz targets of a checking build.
#   fuzz/run.sh replay BUILD          every input of fuzz/corpus/<target> once
#   fuzz/run.sh fuzz BUILD [SECONDS]  fuzz each target for SECONDS (default 60)
#                                     and merge what adds coverage into the corpus
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
# costs nothing, on a disk each results file written is a sync.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
logs="$build/fuzz-logs"
mkdir -p "$logs" "$build/fuzz-artifacts"

for t in "${targets[@]}"; do
  bin="$build/fuzz/$t"
  corpus="fuzz/corpus/$t"
  log="$logs/$t-$mode.log"
  mkdir -p "$corpus"
  start=$(date +%s.%N)
  if [ "$mode" = replay ]; then
    "$bin" -runs=0 -timeout=10 -artifact_prefix="$build/fuzz-artifacts/$t-" "$corpus" >"$log" 2>&1
  else
    # New inputs go to a scratch folder first. Then the corpus is rebuilt
    # from the named seeds (hand-written, kept whatever they cover) and the
    # smallest set of inputs, old or new, that reaches every branch the
    # fuzzer has reached; hit counts are not told apart here, which keeps
    # the corpus to a few hundred files.
    fresh="$build/fuzz-new/$t"
    merged="$build/fuzz-merged/$t"
    rm -rf "$fresh" "$merged" && mkdir -p "$fresh" "$merged"
    find "$corpus" -type f -regextype posix-extended ! -regex '.*/[0-9a-f]{40}' -exec cp {} "$merged" \;
    "$bin" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/fuzz-artifacts/$t-" "$fresh" "$corpus" >"$log" 2>&1 &&
      "$bin" -merge=1 -use_counters=0 -timeout=10 "$merged" "$corpus" "$fresh" >"$log.merge" 2>&1 &&
      rm -f "$corpus"/* && cp "$merged"/* "$corpus"/
  fi
  status=$?
  took=$(echo "$(date +%s.%N) - $start" | bc)
  if [ $status -ne 0 ]; then
    echo "$t: FAILED ($mode, exit $status); the end of $log:"
    tail -n 60 "$log"
    exit 1
  fi
  files=$(find "$corpus" -type f | wc -l)
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -n 1)
  counts=$(grep "^$t: " "$log" | tail -n 1)
  printf '%s (%s, %.1f s): corpus %s files%s; %s\n' "$t" "$mode" "$took" "$files" \
    "${execs:+, $execs execs}" "${counts#"$t: "}"
done
