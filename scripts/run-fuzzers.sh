#!/usr/bin/env bash
# Runs every libFuzzer harness of a fuzzing build for a fixed number of inputs (no time
# limit), starting from its seed corpus in fuzz/corpus/NAME. New inputs are kept in
# BUILD/corpus/NAME, findings in BUILD/findings/NAME-*. Fails when any harness finds one.
#   scripts/run-fuzzers.sh BUILD RUNS
set -euo pipefail
build=$1
runs=$2
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
mkdir -p "$build/findings"
for harness in "$build"/fuzz/*_fuzz; do
  [ -x "$harness" ] || continue
  name=$(basename "$harness" _fuzz)
  mkdir -p "$build/corpus/$name"
  log="$build/findings/$name.log"
  if "$harness" -runs="$runs" -seed=1 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$name-" \
      "$build/corpus/$name" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
    result="no findings"
  else
    result="FOUND A FAULT (see $log)"
    status=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "fuzz $name: ${execs:-?} inputs run, $result"
done
exit $status
