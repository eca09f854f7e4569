#!/usr/bin/env bash
# Creates or removes the throwaway Wine prefix that one test run shares.
set -euo pipefail
action=$1 prefix=$2 wine=${3:-wine}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

case $action in
  create)
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
    "$wine" wineboot -i
    wineserver -w
    echo "Wine prefix ready: $prefix"
    ;;
  remove)
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
    ;;
esac
