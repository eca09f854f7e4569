#!/usr/bin/env bash
# Writes the winget manifest of the built setup.exe and checks what the community repository
# requires of it, and that every exit code README's table documents is mapped.
#
#   winget.sh SOURCE DIST HOST_TOOLS OUT
set -euo pipefail
root=$1 dist=$2 tools=$3 out=$4
rm -rf "$out"
dir=$(EXTRACT_ITEM=$tools/extract_item PELORIN_INSTALLER_URL=https://example.invalid/v1/setup.exe \
  "$root/tools/winget.sh" "$dist/setup.exe" "$out")
id=Brackwater.Pelorin
status=0
fail() { echo "FAILED: $*" >&2; status=1; }
has() {  # FILE LINE...: each line is in the file as written
  local file=$dir/$1
  shift
  for line in "$@"; do grep -qxF -- "$line" "$file" || fail "$(basename "$file") lacks: $line"; done
}
version=$(sed -n 's/^PackageVersion: //p' "$dir/$id.yaml")
[ "$(basename "$dir")" = "$version" ] && [ "$version" = 1.2.16 ] || fail "version $version, folder $dir"
for file in "$id.yaml" "$id.locale.en-US.yaml" "$id.installer.yaml"; do
  has "$file" "PackageIdentifier: $id" "PackageVersion: $version" "ManifestVersion: 1.12.0"
done
has "$id.yaml" "DefaultLocale: en-US" "ManifestType: version"
has "$id.locale.en-US.yaml" "PackageLocale: en-US" "Publisher: Brackwater" "PackageName: Pelorin" \
  "ManifestType: defaultLocale"
for field in License ShortDescription; do
  grep -qE "^$field: .+" "$dir/$id.locale.en-US.yaml" || fail "no $field"
done
has "$id.installer.yaml" "InstallerType: exe" "ElevationRequirement: elevatesSelf" \
  "  Scope: machine" "  Scope: user" "    Silent: /S /ALLUSERS" "    SilentWithProgress: /S /ALLUSERS" \
  "    Interactive: /ALLUSERS" "    Silent: /S /CURRENTUSER" "    SilentWithProgress: /S /CURRENTUSER" \
  "    Interactive: /CURRENTUSER" "  InstallLocation: /D=<INSTALLPATH>" "UpgradeBehavior: install" \
  "ProductCode: Pelorin" "ManifestType: installer" "- Architecture: x86" \
  "  InstallerUrl: https://example.invalid/v1/setup.exe" \
  "  InstallerSha256: $(sha256sum "$dist/setup.exe" | cut -c1-64 | tr a-f A-F)"

# Every non-zero code of README's exit code table, each once, with a response winget knows.
codes=$(awk '/^\| code +\| meaning/ { table = 1; next } table && !/^\|/ { exit }
             table && $2 ~ /^[1-9][0-9]*$/ { print $2 }' "$root/README.md")
[ -n "$codes" ] || fail "README's exit code table not found"
for code in $codes; do
  [ "$(grep -cxF -- "- InstallerReturnCode: $code" "$dir/$id.installer.yaml")" = 1 ] || fail "exit code $code is not mapped once"
done
known="packageInUse|packageInUseByApplication|installInProgress|fileInUse|missingDependency|diskFull|insufficientMemory|invalidParameter|noNetwork|contactSupport|rebootRequiredToFinish|rebootRequiredForInstall|rebootInitiated|cancelledByUser|alreadyInstalled|downgrade|blockedByPolicy|systemNotSupported"
responses=$(grep -c '^  ReturnResponse: ' "$dir/$id.installer.yaml")
[ "$(grep -cE "^  ReturnResponse: ($known)$" "$dir/$id.installer.yaml")" = "$responses" ] || fail "an unknown ReturnResponse"
[ "$(grep -c '^- InstallerReturnCode: ' "$dir/$id.installer.yaml")" = "$responses" ] || fail "a code without its response"
# Two installers of the one file, one a scope, each with the switch that chooses it.
[ "$(grep -c '^- Architecture: x86$' "$dir/$id.installer.yaml")" = 2 ] || fail "not one installer a scope"
awk '/^- Architecture:/ { scope = "" } /^  Scope: / { scope = $2 } /^    (Interactive|Silent|SilentWithProgress): / {
       if ((scope == "machine") != ($NF == "/ALLUSERS")) bad = 1 } END { exit bad }' "$dir/$id.installer.yaml" ||
  fail "a scope with the other scope's switch"
[ $status = 0 ] && echo "the manifest in $dir holds every required field and maps exit codes $(echo $codes)"
exit $status
