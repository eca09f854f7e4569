#!/usr/bin/env bash
# Builds what is needed and starts Pelorin under Wine on the demo game folder. The program
# and a copy of the demo game live in build/run/, so the repository stays untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

run=$PWD/build/run
mkdir -p "$run/Pelorin"
cp dist/Pelorin.exe "$run/Pelorin/"
[ -d "$run/Quake3" ] || cp -r demo/Quake3 "$run/Quake3"

export WINEPREFIX=$run/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The 64-bit loader makes a prefix that runs 32-bit programs too, and makes it much faster
# where 32-bit code is emulated.
wine=wine
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
[ -d "$WINEPREFIX" ] || { echo "Preparing a Wine prefix in $WINEPREFIX ..."; "$wine" wineboot -i; }

cd "$run/Quake3"
echo "Starting Pelorin on the demo game folder $run/Quake3"
if [ -n "${DISPLAY:-}" ]; then
  "$wine" "$run/Pelorin/Pelorin.exe"
else
  echo "No X display: running on a virtual one (xvfb-run)."
  xvfb-run -a -s "-screen 0 1024x768x24" "$wine" "$run/Pelorin/Pelorin.exe"
fi
