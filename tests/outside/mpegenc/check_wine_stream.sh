#!/bin/sh
# check_wine_stream.sh FILE: the stream the Wine session wrote must be an
# MPEG program stream with 352x240 MPEG-2 video and 48 kHz stereo Layer II
# audio, and ffmpeg must decode it to the end without one error.
set -eu
file="$1"
command -v ffprobe >/dev/null || { echo "ffprobe is not installed (scripts/setup.sh installs ffmpeg)"; exit 1; }
probe=$(ffprobe -v error -show_entries format=format_name:stream=codec_name,width,height,sample_rate,channels \
        -of default=nw=1 "$file")
echo "$probe"
echo "$probe" | grep -qx 'format_name=mpeg'
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mpeg2video width=352 height=240'
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mp2 sample_rate=48000 channels=2'
errors=$(ffmpeg -v error -xerror -i "$file" -f null - 2>&1)
[ -z "$errors" ] || { echo "$errors"; exit 1; }
rm -f "$file"
