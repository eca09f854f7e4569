#!/usr/bin/env bash
# Writes the winget manifest of a built setup.exe (multi-file, ManifestVersion 1.12.0) into
# OUT/manifests/b/Brackwater/Pelorin/VERSION/, laid out as the community repository keeps it.
#
#   PELORIN_INSTALLER_URL=https://.../setup.exe tools/winget.sh [SETUP [OUT]]
#
# SETUP is the file that is published (default dist/signed/setup.exe when signed, else
# dist/setup.exe), OUT defaults to dist/winget. The version, publisher and removal key come
# from the setup information packed in SETUP; the exit codes are those README's table lists.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
setup=${1:-$root/dist/signed/setup.exe}
[ -n "${1:-}" ] || [ -f "$setup" ] || setup=$root/dist/setup.exe
out=${2:-$root/dist/winget}
extract_item=${EXTRACT_ITEM:-$root/build/windows/host-tools/extract_item}
url=${PELORIN_INSTALLER_URL:?"set PELORIN_INSTALLER_URL to where setup.exe is published"}

info=$(mktemp)
trap 'rm -f "$info"' EXIT
"$extract_item" setup "$setup" %SETUPINFO% "$info"
line() { sed -n "$1p" "$info" | tr -d '\r'; }
name=$(line 1)
display_version=$(line 2)
publisher=$(line 3)
# "1.2 (build 16)" is 1.2.16 to winget, which compares versions part by part.
version=$(sed -E 's/^([0-9.]+) \(build ([0-9]+)\)$/\1.\2/' <<<"$display_version")
# Setup names the removal registration after the application, with \ and / made blanks.
product_code=$(tr '\\/' '  ' <<<"$name")
sha256=$(sha256sum "$setup" | cut -d' ' -f1 | tr a-f A-F)
id=Brackwater.Pelorin
manifest=1.12.0
dir=$out/manifests/b/Brackwater/Pelorin/$version
mkdir -p "$dir"

cat >"$dir/$id.yaml" <<YAML
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.version.$manifest.schema.json
PackageIdentifier: $id
PackageVersion: $version
DefaultLocale: en-US
ManifestType: version
ManifestVersion: $manifest
YAML

cat >"$dir/$id.locale.en-US.yaml" <<YAML
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.defaultLocale.$manifest.schema.json
PackageIdentifier: $id
PackageVersion: $version
PackageLocale: en-US
Publisher: $publisher
PackageName: $name
License: Freeware
ShortDescription: Name editor for Quake III Arena players, with the game's colour codes
Description: Composes a player name with the game's colour codes, draws it live in a game-style font and writes it into the mods' configuration files of Quake III Arena, ioquake3 and Quake3e.
Tags:
- quake3
- ioquake3
- quake3e
ManifestType: defaultLocale
ManifestVersion: $manifest
YAML

# Every exit code setup documents, answered as winget answers its nearest cause. 3 stands
# for several causes; an editor that did not close is the one an upgrade meets. One file
# serves both scopes: setup asks for administrator rights itself, for every user only. The
# scope goes with the mode's switch, which winget puts first: a custom switch would follow
# /D=, which takes the rest of the line.
cat >"$dir/$id.installer.yaml" <<YAML
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.installer.$manifest.schema.json
PackageIdentifier: $id
PackageVersion: $version
InstallerType: exe
InstallModes:
- interactive
- silent
- silentWithProgress
InstallerSwitches:
  InstallLocation: /D=<INSTALLPATH>
ExpectedReturnCodes:
- InstallerReturnCode: 1
  ReturnResponse: contactSupport
- InstallerReturnCode: 2
  ReturnResponse: invalidParameter
- InstallerReturnCode: 3
  ReturnResponse: packageInUse
- InstallerReturnCode: 4
  ReturnResponse: fileInUse
- InstallerReturnCode: 5
  ReturnResponse: packageInUse
UpgradeBehavior: install
ProductCode: $product_code
ElevationRequirement: elevatesSelf
AppsAndFeaturesEntries:
- DisplayName: $product_code v$display_version
  Publisher: $publisher
  DisplayVersion: $display_version
  ProductCode: $product_code
Installers:
- Architecture: x86
  Scope: machine
  InstallerUrl: $url
  InstallerSha256: $sha256
  InstallerSwitches:
    Interactive: /ALLUSERS
    Silent: /S /ALLUSERS
    SilentWithProgress: /S /ALLUSERS
- Architecture: x86
  Scope: user
  InstallerUrl: $url
  InstallerSha256: $sha256
  InstallerSwitches:
    Interactive: /CURRENTUSER
    Silent: /S /CURRENTUSER
    SilentWithProgress: /S /CURRENTUSER
ManifestType: installer
ManifestVersion: $manifest
YAML
echo "$dir"
