#!/usr/bin/env bash
# Measures the shipped programs on this machine and prints one table: their sizes, setup's
# extraction against cp, the editor's start against an empty window, and a quiet install
# against copying the same files. Timings on a shared machine vary, so each is a median of
# several runs against its yardstick measured in the same run. Needs the windows preset's
# build (tools/build.sh) and takes a few minutes.
#
#   tools/bench.sh [REPETITIONS]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-5}

if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
for tool in /usr/bin/time xdotool wine; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (tools/install-deps.sh)" >&2; exit 1; }
done

dist=$root/dist
image=$root/build/windows/images/setup.exe
extract=$root/build/windows/host-tools/extract_item
bare=$root/build/windows/tools/bare_window.exe
for file in "$dist/Pelorin.exe" "$dist/Uninstall.exe" "$dist/setup.exe" "$image" "$extract" "$bare"; do
  [[ -e $file ]] || { echo "bench: $file is missing; run tools/build.sh" >&2; exit 1; }
done

work=$root/build/bench
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/wine-prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

now() { date +%s.%N; }
elapsed() { awk -v a="$(now)" -v b="$1" 'BEGIN { printf "%.3f\n", a - b }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
rows=()
row() { rows+=("$(printf '| %-50s | %-30s | %-22s | %-8s |' "$@")"); }

# The ceilings, as the test SizeBudget holds them: {"name", "path", bytes[ + 32]}.
budget() {
  grep -oP "^ *\{\"$1\", [^,]+, \K[0-9]+( \+ [0-9]+)?(?=\},)" tests/e2e/SizeBudget_test.cpp | awk '{ print $1 + $3 }'
}
row "Pelorin.exe" "$(stat -c %s "$dist/Pelorin.exe") B" "budget $(budget Pelorin.exe) B" ""
row "setup image (setup.exe without its pack)" "$(stat -c %s "$image") B" "budget $(budget "setup image") B" ""
row "Uninstall.exe (the setup image, marked)" "$(stat -c %s "$dist/Uninstall.exe") B" "budget $(budget Uninstall.exe) B" ""
row "side picture (packed item)" "$(stat -c %s resources/setup/SidePic.bmp) B" "budget $(budget "side picture") B" ""
row "setup.exe" "$(stat -c %s "$dist/setup.exe") B" "budget $(budget setup.exe) B" ""

# Extraction of a 256 MiB item by setup's pack code against cp of the same file on the same
# disk. Extraction flushes the file to disk before it replaces the destination; cp does not,
# so cp followed by sync of the copy is timed as well.
echo "bench: extraction ($runs runs of 256 MiB)" >&2
head -c $((256 << 20)) /dev/urandom >"$work/item.bin"
"$extract" add "$work/data.mif" "$work/list.lst" "$work/item.bin" item
sync
: >"$work/extract.txt" >"$work/cp.txt" >"$work/cpsync.txt" >"$work/rss.txt"
for ((i = 0; i < runs; i++)); do
  rm -f "$work/out.bin" "$work/copy.bin"
  sync
  /usr/bin/time -f "%e %M" -o "$work/one.txt" "$extract" extract "$work/data.mif" "$work/list.lst" item "$work/out.bin"
  read -r seconds kib <"$work/one.txt"
  echo "$seconds" >>"$work/extract.txt"
  echo "$kib" >>"$work/rss.txt"
  cmp -s "$work/item.bin" "$work/out.bin" || { echo "bench: the extracted item differs" >&2; exit 1; }
  rm -f "$work/copy.bin"
  sync
  start=$(now)
  cp "$work/item.bin" "$work/copy.bin"
  elapsed "$start" >>"$work/cp.txt"
  rm -f "$work/copy.bin"
  sync
  start=$(now)
  cp "$work/item.bin" "$work/copy.bin"
  sync "$work/copy.bin"
  elapsed "$start" >>"$work/cpsync.txt"
done
rm -f "$work/item.bin" "$work/data.mif" "$work/out.bin" "$work/copy.bin"
extracted=$(median <"$work/extract.txt")
copied=$(median <"$work/cp.txt")
synced=$(median <"$work/cpsync.txt")
rss=$(sort -g "$work/rss.txt" | tail -1)
row "extraction of 256 MiB: throughput against cp" "$(ratio "$copied" "$extracted") (${extracted} s)" "cp ${copied} s" ">= 0.80"
row "  against cp + sync of the copy" "$(ratio "$synced" "$extracted")" "cp + sync ${synced} s" ""
row "  peak resident memory of the extraction" "$((rss / 1024)).$(((rss % 1024) * 10 / 1024)) MiB" "cp $(/usr/bin/time -f %M cp "$dist/setup.exe" "$work/x" 2>&1 >/dev/null) KiB" "<= 4 MiB"

# Start-up: from starting the program until its window is visible, the editor against an
# empty window built the same way. The Wine server stays up between runs, as it does on a
# desktop where other programs run.
echo "bench: Wine prefix and start-up ($runs runs each)" >&2
wine wineboot -i >/dev/null 2>&1
wineserver -w
wineserver -p
sandbox=$work/editor
mkdir -p "$sandbox"
cp "$dist/Pelorin.exe" "$bare" "$sandbox/"
cp -r "$root/demo/Quake3" "$sandbox/Quake3"
printf 'Z:%s\r\n\r\n' "$(echo "$sandbox/Quake3" | tr / '\\')" >"$sandbox/settings.ini"

# Seconds from start until a visible window of that title exists.
time_window() {
  local program=$1 title=$2 start pid seen
  start=$(now)
  (cd "$sandbox" && exec wine "$program") >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "bench: $program ended before its window showed" >&2; exit 1; }
    sleep 0.005
  done
  seen=$(now)
  awk -v a="$seen" -v b="$start" 'BEGIN { printf "%.3f\n", a - b }'
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  while xdotool search --name "^$title\$" >/dev/null 2>&1; do sleep 0.05; done
}
time_window bare_window.exe "Bare window" >/dev/null  # the first start loads Wine's DLLs from disk
: >"$work/editor.txt" >"$work/bare.txt"
for ((i = 0; i < runs; i++)); do
  time_window bare_window.exe "Bare window" >>"$work/bare.txt"
  time_window Pelorin.exe "Pelorin" >>"$work/editor.txt"
done
editor=$(median <"$work/editor.txt")
empty=$(median <"$work/bare.txt")
row "start-up: Pelorin.exe window against an empty one" "$(ratio "$editor" "$empty")x (${editor} s)" "empty window ${empty} s" "<= 1.05x"

# Install: a quiet setup.exe into an empty folder against cp of the files it installed.
echo "bench: install ($runs runs)" >&2
quiet_install() {  # folder; true when setup installed the editor there and ended with 0
  timeout 60 wine "$dist/setup.exe" /S "/D=$(echo "Z:$1" | tr / '\\')" >/dev/null 2>&1 && [[ -f $1/Pelorin.exe ]]
}
if ! quiet_install "$work/probe-install"; then
  wineserver -k 2>/dev/null || true
  row "install: setup.exe /S against cp" "n/a (setup.exe has no /S yet)" "" ""
else
  : >"$work/setup.txt" >"$work/copyfiles.txt"
  for ((i = 0; i < runs; i++)); do
    start=$(now)
    quiet_install "$work/installed$i" || { echo "bench: setup.exe /S failed" >&2; exit 1; }
    elapsed "$start" >>"$work/setup.txt"
    start=$(now)
    cp -r "$work/installed$i" "$work/copied$i"
    elapsed "$start" >>"$work/copyfiles.txt"
  done
  installed=$(median <"$work/setup.txt")
  copiedFiles=$(median <"$work/copyfiles.txt")
  row "install: setup.exe /S against cp of its files" "$(ratio "$installed" "$copiedFiles")x (${installed} s)" "cp -r ${copiedFiles} s" ""
fi

echo
printf '| %-50s | %-30s | %-22s | %-8s |\n' "measure" "result" "yardstick" "target"
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..52})" "$(printf -- '-%.0s' {1..32})" "$(printf -- '-%.0s' {1..24})" "$(printf -- '-%.0s' {1..10})"
printf '%s\n' "${rows[@]}"
