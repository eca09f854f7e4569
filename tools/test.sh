#!/usr/bin/env bash
# The whole test run: installs what is missing, builds, then runs the unit tests and the
# end-to-end tests (real programs under Wine on a virtual X display). Ends with ctest's
# summary line.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
cd build/native
xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j2 "$@"
