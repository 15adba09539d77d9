#!/bin/sh
# check_asf_recording.sh FILE: the radio recording the Wine test wrote must
# be ASF with 48 kHz stereo Layer II audio, last 5.005 s within 0.2 s, and
# decode without one error.
set -eu
file="$1"
command -v ffprobe >/dev/null || { echo "ffprobe is not installed (scripts/setup.sh installs it)"; exit 1; }
probe=$(ffprobe -v error -show_entries format=format_name,duration:stream=codec_name,sample_rate,channels \
        -of default=nw=1 "$file")
echo "$probe"
echo "$probe" | grep -qx 'format_name=asf'
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mp2 sample_rate=48000 channels=2'
duration=$(echo "$probe" | sed -n 's/^duration=//p')
awk -v d="$duration" 'BEGIN { e = d - 5.005; if (e < 0) e = -e; exit !(e <= 0.2) }' ||
  { echo "duration $duration, expected 5.005"; exit 1; }
errors=$(ffmpeg -v error -xerror -i "$file" -f null - 2>&1)
[ -z "$errors" ] || { echo "$errors"; exit 1; }
# The file stays: the player tests play it next, and each run overwrites it.
