#!/usr/bin/env bash
# Fuzzes the pack list parser and the trailer reader with libFuzzer under AddressSanitizer
# and UndefinedBehaviorSanitizer, each for SECONDS (default 60), starting from the seeds in
# tests/fuzz/corpus. New inputs that found new paths are kept in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
command -v clang++ >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang >/dev/null
out=build/fuzz
mkdir -p "$out"
sources="common/TextLines.cpp common/platform/FileSystem.cpp installer/FilePack.cpp installer/PackFormat.cpp installer/SetupData.cpp"
for target in PackList Trailer; do
  corpus=tests/fuzz/corpus/$( [ $target = PackList ] && echo pack_list || echo trailer )
  clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -Icommon -Icommon/platform -Iinstaller tests/fuzz/${target}_fuzz.cpp $sources -o "$out/$target"
  mkdir -p "$out/$target-corpus"
  "$out/$target" -max_total_time="$seconds" -max_len=4096 "$out/$target-corpus" "$corpus"
done
echo "fuzzing found no fault"
