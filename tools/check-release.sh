#!/usr/bin/env bash
# Checks that a published setup.exe was built from these sources: compares it with the
# build in dist/ (build the same commit first: tools/build.sh, or the windows preset). An
# unsigned file must equal dist/setup.exe. A signed one must equal what signing dist/ gives:
# its signatures (the packed programs' and its own) are moved onto the rebuilt files, which
# are then packed as tools/sign.sh packs them, and the result must be the published file byte
# for byte. Says which file differs.
#
#   tools/check-release.sh PUBLISHED_SETUP_EXE
#
# DIST and HOST_TOOLS name another build's dist/ and build/windows/host-tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
published=$1
dist=${DIST:-$root/dist}
tools=${HOST_TOOLS:-$root/build/windows/host-tools}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

signed() { osslsigncode extract-signature -in "$1" -out "$work/probe.sig" >/dev/null 2>&1; }
# FILE SIGNED OUT: FILE with the signature of SIGNED attached, as OUT. osslsigncode checks
# the attached signature against the trusted certificates too and fails where they do not
# know the signer (a test certificate); whether the bytes match is what counts here, and
# `osslsigncode verify` checks the signature itself.
move_signature() {
  osslsigncode extract-signature -in "$2" -out "$3.sig" >/dev/null
  osslsigncode attach-signature -sigin "$3.sig" -in "$1" -out "$3" >/dev/null 2>&1 || true
  [ -f "$3" ] || { echo "cannot attach the signature of $2 to $1" >&2; exit 1; }
}

if ! signed "$published"; then
  cmp "$published" "$dist/setup.exe" && echo "$published is the unsigned build of these sources, byte for byte"
  exit
fi
for program in Pelorin.exe Uninstall.exe; do
  "$tools/extract_item" setup "$published" "$program" "$work/published-$program"
  move_signature "$dist/$program" "$work/published-$program" "$work/$program"
  cmp "$work/$program" "$work/published-$program" || { echo "the packed $program differs from the rebuild"; exit 1; }
done
"$tools/make_setup" "$work/setup.exe" --from "$dist/setup.exe" \
  Pelorin.exe="$work/Pelorin.exe" Uninstall.exe="$work/Uninstall.exe" >/dev/null
move_signature "$work/setup.exe" "$published" "$work/signed-setup.exe"
cmp "$work/signed-setup.exe" "$published" || { echo "setup.exe differs from the rebuild"; exit 1; }
echo "$published is the signed build of these sources, byte for byte"
