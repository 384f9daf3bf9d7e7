#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for SECONDS seconds (20 by
# default), each from its seed corpus in tests/fuzz/corpus/<target>. Inputs
# that the fuzzer finds are kept in a scratch corpus under build/fuzz, so the
# seeds stay as committed; a crash leaves its input in build/fuzz/findings.
#   bash tests/fuzz/run-fuzzers.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

build=build/fuzz/tests/fuzz
findings=build/fuzz/findings
mkdir -p "$findings"
for corpus in tests/fuzz/corpus/*/; do
  target=$(basename "$corpus")
  scratch=build/fuzz/corpus/$target
  mkdir -p "$scratch"
  echo "== ${target}_fuzzer, ${seconds} s"
  log=build/fuzz/$target.log
  if ! "$build/${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" "$scratch" "$corpus" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "${target}_fuzzer failed; its input is in $findings, its output in $log" >&2
    exit 1
  fi
  grep '^stat::number_of_executed_units' "$log"
done
echo "all fuzz targets ran ${seconds} s without a finding"
