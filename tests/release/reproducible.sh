#!/usr/bin/env bash
# Builds the shipped programs a second time from a copy of the sources in another folder,
# later and with fresh file times, and checks that every file of dist/ comes out byte for
# byte the same and names neither build's folder.
#
#   reproducible.sh SOURCE DIST WINDOWS_BUILD WORK
set -euo pipefail
root=$1 dist=$2 build=$3 work=$4
copy=$work/another/place/pelorin
rm -rf "$work"
mkdir -p "$copy"
# The time comes from the last commit; the copy has no history, so it is handed over.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(cat "$build/source-date-epoch")
tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$copy" -x --touch -f -
(cd "$copy" && cmake --preset windows >/dev/null && cmake --build --preset windows -j 2 >/dev/null)
status=0
for program in Pelorin.exe Uninstall.exe setup.exe; do
  if cmp "$dist/$program" "$copy/dist/$program"; then
    echo "$program: the same $(stat -c %s "$dist/$program") bytes, sha256 $(sha256sum <"$dist/$program" | cut -c1-64)"
  else
    status=1
  fi
  for folder in "$root" "$copy"; do
    if grep -qaF "$folder" "$dist/$program" "$copy/dist/$program"; then echo "$program names $folder"; status=1; fi
  done
done
rm -rf "$work"
exit $status
