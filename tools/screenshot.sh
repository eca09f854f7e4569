#!/usr/bin/env bash
# Makes the README's screenshots: docs/pelorin-expanded.png, the editor, expanded, with a
# coloured name typed in; docs/pelorin-200.png, the editor on a display at 200 %, the focus on
# the colour row; docs/setup-path.png, the setup wizard's install-path page; and
# docs/uninstall-progress.png, the uninstaller at work.
# The editor and the uninstaller are the 64-bit test builds, which draw exactly as the shipped
# ones and start at once; the wizard is the shipped 32-bit setup.exe, since the folder it
# proposes is the 32-bit view's Program Files (x86). Where 32-bit code runs through qemu that
# one takes a minute or so to show.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v import >/dev/null || apt-get install -y -qq imagemagick >/dev/null
for preset in windows windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done

work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
Xvfb :47 -screen 0 1024x768x24 >/dev/null 2>&1 & xvfb=$!
export DISPLAY=:47 WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
cp build/windows-x64/dist/Pelorin.exe "$work/"
cp -r demo/Quake3 "$work/"
printf 'Z:%s\r\n\r\n^1Pel^3o^2rin^7!\r\n^4Blue^7Fox\r\n' "${work//\//\\}\\Quake3" > "$work/settings.ini"
(cd "$work" && /usr/lib/wine/wine64 Pelorin.exe &)
for _ in $(seq 50); do xdotool search --name '^Pelorin$' >/dev/null 2>&1 && break; sleep 0.2; done
sleep 1
read -r x y < <(xdotool search --name '^Pelorin$' getwindowgeometry | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
xdotool mousemove $((x + 215)) $((y + 89)) click 1; sleep 0.5
xdotool mousemove $((x + 60)) $((y + 38)) click 1
xdotool type --delay 40 '^1Pel^3o^2rin^7!'; sleep 0.3
xdotool mousemove $((x + 57 + 16 * 3 + 8)) $((y + 195 + 16 * 5 + 8)); sleep 0.5
import -window root -crop "363x381+$x+$y" +repage docs/pelorin-expanded.png
echo "wrote docs/pelorin-expanded.png"

# The wizard opens in front of the editor, in the middle of the screen.
cp dist/setup.exe "$work/"
(cd "$work" && /usr/lib/wine/wine64 setup.exe &)
for _ in $(seq 900); do xdotool search --name '^Pelorin v1.2' >/dev/null 2>&1 && break; sleep 0.2; done
sleep 3
wizard=$(xdotool search --name '^Pelorin v1.2' | head -1)
xdotool key Return; sleep 5
read -r x y w h < <(xdotool getwindowgeometry "$wizard" | awk '/Position/ {split($2, p, ",")} /Geometry/ {split($2, g, "x")} END {print p[1], p[2], g[1], g[2]}')
import -window root -crop "${w}x${h}+$x+$y" +repage docs/setup-path.png
echo "wrote docs/setup-path.png"

# docs/uninstall-progress.png: the uninstaller's window part way through a removal, while it
# asks about a system file (that question is moved aside). Wine draws the window frames
# itself here, as there is no window manager.
uninstaller_screenshot() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  local folder="$work/Program Files/Pelorin"
  mkdir -p "$folder"
  cp build/windows-x64/dist/Uninstall.exe "$folder/"
  printf 'Pelorin\r\n1.2 (build 16)\r\n\r\nUninstall.exe\r\nPelorin.exe\r\nReadme.txt\r\nLicense.txt\r\n$C:\\windows\\system32\\brackwater.dll\r\nsettings.ini\r\n' \
    > "$folder/install.log"
  (cd "$folder" && /usr/lib/wine/wine64 Uninstall.exe &)
  for _ in $(seq 50); do xdotool search --name '^Proceed with Uninstall\?$' >/dev/null 2>&1 && break; sleep 0.2; done
  sleep 0.5
  xdotool key Return
  for _ in $(seq 50); do xdotool search --name '^Uninstall System File\?$' >/dev/null 2>&1 && break; sleep 0.2; done
  xdotool search --name '^Uninstall System File\?$' | head -1 | xargs -I{} xdotool windowmove {} 0 0
  sleep 0.5
  local x y w h
  read -r x y < <(xdotool search --name '^Uninstalling\.\.\.$' getwindowgeometry | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
  read -r w h < <(xdotool search --name '^Uninstalling\.\.\.$' getwindowgeometry | awk '/Geometry/ {split($2, s, "x"); print s[1], s[2]}')
  import -window root -crop "${w}x${h}+$x+$y" +repage docs/uninstall-progress.png
  echo "wrote docs/uninstall-progress.png"
}
uninstaller_screenshot

# docs/pelorin-200.png: the display at 192 DPI, the name typed and Tab pressed, all by keyboard.
scaled_editor_screenshot() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
  (cd "$work" && /usr/lib/wine/wine64 Pelorin.exe &)
  for _ in $(seq 100); do xdotool search --name '^Pelorin$' >/dev/null 2>&1 && break; sleep 0.2; done
  sleep 1
  xdotool type --delay 40 '^1Pel^3o^2rin^7!'
  xdotool key Tab Right Right; sleep 0.5
  local x y w h
  read -r x y < <(xdotool search --name '^Pelorin$' getwindowgeometry | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
  read -r w h < <(xdotool search --name '^Pelorin$' getwindowgeometry | awk '/Geometry/ {split($2, s, "x"); print s[1], s[2]}')
  import -window root -crop "${w}x${h}+$x+$y" +repage docs/pelorin-200.png
  echo "wrote docs/pelorin-200.png"
}
scaled_editor_screenshot
