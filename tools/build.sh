#!/usr/bin/env bash
# Builds the shipped 32-bit programs into dist/, the 64-bit test builds of the same programs,
# the portable core with its tests, and the fuzzers that tools/fuzz.sh runs. Given a key (see
# tools/sign.sh), also the signed release in dist/signed/; dist/ itself stays unsigned.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in windows windows-x64 native fuzz; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  if [ "$preset" = windows ] && [ -n "${PELORIN_SIGN_PKCS12:-}${PELORIN_SIGN_KEY:-}" ]; then tools/sign.sh; fi
done
