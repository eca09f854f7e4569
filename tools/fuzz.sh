#!/usr/bin/env bash
# Fuzzes every reader of data from outside the programs with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer, each target for SECONDS (default 60), or
# for FUZZ_RUNS executions when that is set, starting from its seeds in tests/fuzz/corpus.
# Targets named after SECONDS (such as Trailer_fuzz) run alone:
#   FUZZ_RUNS=1000000 tools/fuzz.sh 0 Trailer_fuzz
# The fuzzers are the CMake preset "fuzz" (build/fuzz), which lists them in targets.txt;
# inputs that found new paths are kept in build/fuzz/corpus/, each run's log in
# build/fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
only=" ${*:2} "
if ! command -v clang++ >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

limit=(-max_total_time="$seconds")
[ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")
out=build/fuzz
mkdir -p "$out/logs"
while read -r fuzzer seeds; do
  [ "$only" = "  " ] || [[ $only == *" $fuzzer "* ]] || continue
  kept=$out/corpus/${fuzzer%_fuzz}
  log=$out/logs/$fuzzer.log
  mkdir -p "$kept"
  if ! "$out/tests/fuzz/$fuzzer" "${limit[@]}" -max_len=8192 -artifact_prefix="$out/logs/$fuzzer-" \
       "$kept" "$seeds" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "$fuzzer found a fault: see $log" >&2
    exit 1
  fi
  echo "$fuzzer: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -n 1)"
done <"$out/targets.txt"
echo "fuzzing found no fault"
