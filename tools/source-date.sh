#!/usr/bin/env bash
# The time a build stamps into the files it ships (the programs' PE time stamps, the pack's
# item times): SOURCE_DATE_EPOCH when it is set, else the time of the last commit, so that
# two builds of one commit give the same bytes wherever and whenever they run.
#
#   source-date.sh FILE              writes the time into FILE, only when it changes there
#   source-date.sh --run FILE CMD... runs CMD with SOURCE_DATE_EPOCH set to the time in FILE
set -euo pipefail
if [ "${1:-}" = --run ]; then
  SOURCE_DATE_EPOCH=$(cat "$2") exec "${@:3}"
fi
file=$1
time=${SOURCE_DATE_EPOCH:-}
if [ -z "$time" ]; then
  # A checkout that another account owns is still this build's own sources.
  root=$(cd "$(dirname "$0")/.." && pwd)
  time=$(git -c safe.directory="$root" -C "$root" log -1 --format=%ct 2>/dev/null) ||
    { echo "source-date.sh: no commit to take the time from; set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
case $time in '' | *[!0-9]*) echo "source-date.sh: SOURCE_DATE_EPOCH is no number of seconds: $time" >&2; exit 1 ;; esac
[ -f "$file" ] && [ "$(cat "$file")" = "$time" ] || echo "$time" >"$file"
