#!/usr/bin/env bash
# Builds the shipped 32-bit programs into dist/, the 64-bit test builds of the same programs,
# and the portable core with its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in windows windows-x64 native; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
