#!/bin/sh
# check_scheduled_recording.sh DIR: the newest MPEG file in DIR, recorded by
# the scheduler for a one-minute entry from 3 s before its start, must be
# read by ffprobe as a program stream of 60 to 66 seconds and decode
# without one error.
set -eu
dir="$1"
command -v ffprobe >/dev/null || { echo "ffprobe is not installed (scripts/setup.sh installs it)"; exit 1; }
file=$(ls -t "$dir"/*.mpg 2>/dev/null | head -n 1)
[ -n "$file" ] || { echo "no recording in $dir"; exit 1; }
duration=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$file")
echo "$file: $duration s"
awk -v d="$duration" 'BEGIN { exit !(d >= 60 && d <= 66) }' || { echo "expected 60 to 66 s"; exit 1; }
errors=$(ffmpeg -v error -xerror -i "$file" -f null - 2>&1)
[ -z "$errors" ] || { echo "$errors"; exit 1; }
