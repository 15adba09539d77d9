#!/bin/sh
# check_recordings.sh TEST_OUTPUT_DIR: judges what the recording media tests
# left: every recording decodes without one error, the ten-second recording
# lasts 10 s and the time-limited one 15 s, within a second each.
set -eu
out="$1"
command -v ffprobe >/dev/null || { echo "ffprobe is not installed (scripts/setup.sh installs it)"; exit 1; }
duration() { ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$1"; }
within() { awk -v d="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(d >= lo && d <= hi) }'; }
status=0
for file in "$out"/rec-manual/*.mpg "$out"/rec-parts/*.mpg "$out"/rec-timed/*.mpg; do
  [ -f "$file" ] || { echo "missing: $file"; status=1; continue; }
  errors=$(ffmpeg -v error -xerror -i "$file" -f null - 2>&1) || true
  [ -z "$errors" ] || { echo "$file: $errors"; status=1; }
done
for pair in "rec-manual 9 11.5" "rec-timed 14 16"; do
  set -- $pair
  for file in "$out/$1"/*.mpg; do
    d=$(duration "$file")
    echo "$file: $d s"
    within "$d" "$2" "$3" || { echo "expected $2 to $3 s"; status=1; }
  done
done
exit $status
