#!/usr/bin/env bash
# Builds what is needed and starts Pelorin under Wine on the demo game folder. The program
# and a copy of the demo game live in build/run/, so the repository stays untouched.
# Without an X display there is nobody to see the window: the editor then runs on a
# virtual display just long enough to take a picture of it, build/run/pelorin.png.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}" ]; then tools/install-deps.sh; else tools/install-deps.sh imagemagick; fi
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

# ioquake3 and Quake3e keep their own configuration in %APPDATA%\Quake3, which the editor
# saves to as well: the demo has one, made from the demo game's once the prefix exists.
demo_home() {
  local home=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Quake3/baseq3
  [ -d "$home" ] || { mkdir -p "$home" && cp demo/Quake3/baseq3/q3config.cfg "$home/"; }
}

if [ -n "${DISPLAY:-}" ]; then
  [ -d "$WINEPREFIX" ] || { echo "Preparing a Wine prefix in $WINEPREFIX ..."; "$wine" wineboot -i; }
  demo_home
  cd "$run/Quake3"
  echo "Starting Pelorin on the demo game folder $run/Quake3"
  exec "$wine" "$run/Pelorin/Pelorin.exe"
fi

picture=$run/pelorin.png
echo "No X display: running Pelorin on a virtual one to take a picture of its window."
display=:$(( 90 + RANDOM % 400 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
[ -d "$WINEPREFIX" ] || { echo "Preparing a Wine prefix in $WINEPREFIX ..."; "$wine" wineboot -i >/dev/null 2>&1; }
demo_home
cd "$run/Quake3"
"$wine" "$run/Pelorin/Pelorin.exe" >/dev/null 2>&1 &

# A 32-bit start where 32-bit code is emulated takes about a minute.
window=
for _ in $(seq 600); do
  window=$(xdotool search --onlyvisible --name '^Pelorin$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { echo "The Pelorin window did not appear." >&2; exit 1; }
sleep 2  # let it finish drawing
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$picture"
echo "Pelorin ran on a virtual display; its window is in $picture"
echo "To use it, run tools/run.sh where an X display is set (DISPLAY), for example in a desktop session."
