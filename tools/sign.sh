#!/usr/bin/env bash
# Signs a release with Authenticode (osslsigncode): Pelorin.exe and Uninstall.exe first, then
# setup.exe packed again with those signed programs, then setup.exe itself, whose signature
# then covers the pack too. Reads the built files of FROM (default dist) and writes the signed
# ones into TO (default FROM/signed), so that FROM keeps the build as it is.
#
#   tools/sign.sh [FROM [TO]]
#
# The key, from the environment:
#   PELORIN_SIGN_PKCS12 and PELORIN_SIGN_PASSWORD_FILE   a PKCS#12 file and its password file
#   PELORIN_SIGN_KEY and PELORIN_SIGN_CERT               or a private key and its certificates (PEM)
#   PELORIN_SIGN_TIMESTAMP_URL                           an RFC 3161 time-stamp server (optional)
# Without a key it signs nothing and says so. MAKE_SETUP names the packing tool (default: the
# one the windows build made).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
from=${1:-$root/dist}
to=${2:-$from/signed}
make_setup=${MAKE_SETUP:-$root/build/windows/host-tools/make_setup}

key=()
if [ -n "${PELORIN_SIGN_PKCS12:-}" ]; then
  key=(-pkcs12 "$PELORIN_SIGN_PKCS12")
  [ -n "${PELORIN_SIGN_PASSWORD_FILE:-}" ] && key+=(-readpass "$PELORIN_SIGN_PASSWORD_FILE")
elif [ -n "${PELORIN_SIGN_KEY:-}" ] && [ -n "${PELORIN_SIGN_CERT:-}" ]; then
  key=(-certs "$PELORIN_SIGN_CERT" -key "$PELORIN_SIGN_KEY")
else
  echo "sign.sh: no key given (PELORIN_SIGN_PKCS12, or PELORIN_SIGN_KEY and PELORIN_SIGN_CERT): nothing signed"
  exit 0
fi
command -v osslsigncode >/dev/null || { echo "sign.sh: osslsigncode is missing (tools/install-deps.sh)" >&2; exit 1; }
[ -n "${PELORIN_SIGN_TIMESTAMP_URL:-}" ] && key+=(-ts "$PELORIN_SIGN_TIMESTAMP_URL")

mkdir -p "$to"
work=$(mktemp -d "$to/.signing-XXXXXX")
trap 'rm -rf "$work"' EXIT

sign() {  # FILE: signed in place, through a copy beside it
  osslsigncode sign "${key[@]}" -h sha256 -n Pelorin -in "$1" -out "$1.signed" >/dev/null
  mv "$1.signed" "$1"
}

for program in Pelorin.exe Uninstall.exe; do
  cp "$from/$program" "$work/$program"
  sign "$work/$program"
done
"$make_setup" "$work/setup.exe" --from "$from/setup.exe" \
  Pelorin.exe="$work/Pelorin.exe" Uninstall.exe="$work/Uninstall.exe" >/dev/null
sign "$work/setup.exe"
for program in Pelorin.exe Uninstall.exe setup.exe; do mv "$work/$program" "$to/$program"; done
echo "signed Pelorin.exe, Uninstall.exe and setup.exe in $to"
