#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine, only when missing.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=
fi

for p in cmake ninja-build g++ libgtest-dev g++-mingw-w64-i686-posix \
         wine wine64 xvfb xdotool imagemagick x11-utils; do
  have "$p" || need+=("$p")
done
have wine32:i386 || need+=("wine32:i386")

if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
