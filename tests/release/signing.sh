#!/usr/bin/env bash
# Signs the built release as a publisher would, with a throwaway certificate made here:
# every signature verifies, the signed setup carries the signed programs, and one changed
# byte of its pack fails verification. The signed files stay in OUT/signed for the shipped
# programs' end-to-end test, which installs from them.
#
#   signing.sh SOURCE DIST HOST_TOOLS OUT
set -euo pipefail
root=$1 dist=$2 tools=$3 out=$4
rm -rf "$out"
mkdir -p "$out"
before=$(sha256sum "$dist"/*.exe)

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Pelorin test signer" \
  -keyout "$out/key.pem" -out "$out/cert.pem" 2>/dev/null
echo "a throwaway password" >"$out/password"
openssl pkcs12 -export -inkey "$out/key.pem" -in "$out/cert.pem" -out "$out/key.p12" -passout "file:$out/password"
MAKE_SETUP=$tools/make_setup PELORIN_SIGN_PKCS12=$out/key.p12 PELORIN_SIGN_PASSWORD_FILE=$out/password \
  "$root/tools/sign.sh" "$dist" "$out/signed"

fail() { echo "FAILED: $*" >&2; exit 1; }
verify() { osslsigncode verify -CAfile "$out/cert.pem" -in "$1" >"$out/verify.txt" 2>&1; }
for program in Pelorin.exe Uninstall.exe setup.exe; do
  verify "$out/signed/$program" || { cat "$out/verify.txt"; fail "$program does not verify"; }
done
cat "$out/verify.txt"
[ "$(sha256sum "$dist"/*.exe)" = "$before" ] || fail "signing changed the unsigned build"
for program in Pelorin.exe Uninstall.exe; do
  "$tools/extract_item" setup "$out/signed/setup.exe" "$program" "$out/packed-$program"
  cmp "$out/packed-$program" "$out/signed/$program" || fail "the signed setup does not carry the signed $program"
done

# One byte in the middle of the packed editor changed: setup still finds its pack and takes
# the changed editor from it, but the signature no longer verifies.
table=$(i686-w64-mingw32-objdump -p "$out/signed/setup.exe" | awk '/Security Directory/ { print $3 }')
[ -n "$table" ] && table=$((16#$table)) && [ "$table" -gt 272 ] || fail "no certificate table found"
trailer=$(dd if="$out/signed/setup.exe" bs=1 skip=$((table - 272)) count=272 status=none)
field() { tr -d ' ' <<<"${trailer:$((16 + 64 * $1)):64}"; }
list=$(dd if="$out/signed/setup.exe" bs=1 skip=$(($(field 0) - 1)) count="$(field 1)" status=none)
IFS=, read -r _ offset size _ < <(grep -a '^Pelorin.exe,' <<<"$list")
cp "$out/signed/setup.exe" "$out/changed.exe"
printf 'X' | dd of="$out/changed.exe" bs=1 seek=$(($(field 2) - 1 + offset - 1 + size / 2)) conv=notrunc status=none
"$tools/extract_item" setup "$out/changed.exe" Pelorin.exe "$out/changed-Pelorin.exe"
cmp -s "$out/changed-Pelorin.exe" "$out/signed/Pelorin.exe" && fail "the packed editor did not change"
if verify "$out/changed.exe"; then fail "a changed byte of the pack still verifies"; fi
grep -i "mismatch" "$out/verify.txt" || true

# Anyone with the sources finds the signed file to be this build, and the changed one not.
check() { DIST=$dist HOST_TOOLS=$tools "$root/tools/check-release.sh" "$1"; }
check "$out/signed/setup.exe" || fail "the signed setup is not found to be this build"
if check "$out/changed.exe"; then fail "the changed setup passes as this build"; fi
echo "signing verified; a changed byte of the pack fails verification and the check"
