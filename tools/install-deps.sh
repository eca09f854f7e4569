#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian 12 machine (as root), only
# what is missing, so a second call costs nothing. Packages named as arguments are added
# (run.sh asks for imagemagick when it has to take a picture of the window).
set -euo pipefail

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(cmake ninja-build g++ python3 libgtest-dev clang libclang-rt-14-dev
          g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
          wine wine64 wine32:i386 xvfb xauth xdotool ioquake3-server osslsigncode openssl "$@")
missing=()
for p in "${packages[@]}"; do have "$p" || missing+=("$p"); done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # A mirror in the middle of a sync serves index files of the wrong size for a while: try
  # again, and at last go on with the indexes that did arrive. A library installed for both
  # architectures must come in one version, so when an index is missing (it has been the
  # security suite's i386 one) packages are taken from the release itself, whose indexes
  # arrived for both; the install below fails clearly when a package it needs is not there.
  release=()
  for attempt in 1 2 3 4 5; do
    apt-get update -qq -o Acquire::Retries=3 && break
    if [ "$attempt" -eq 5 ]; then
      codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
      echo "apt-get update failed for some indexes; installing from $codename itself"
      release=(-o "APT::Default-Release=$codename")
    else
      echo "apt-get update failed; trying again in $((attempt * 20)) s"
      sleep $((attempt * 20))
    fi
  done
  apt-get install -y -qq -o Acquire::Retries=3 "${release[@]}" --no-install-recommends "${missing[@]}" >/dev/null
fi

# 32-bit Wine needs a kernel that runs 32-bit x86 code. Where it is switched off (some
# virtual machines boot with ia32 emulation disabled), let qemu run the 32-bit side instead:
# slow, but the very 32-bit programs then still run.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if ! have qemu-user-static; then
    echo "This kernel runs no 32-bit code; installing qemu-user-static to run it"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends qemu-user-static >/dev/null
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      > "$binfmt/register"
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "32-bit programs cannot run here" >&2; exit 1; }
fi
