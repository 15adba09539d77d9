#!/bin/sh
# make_video_clip.sh OUT.mpg
# A 20-second MPEG-2 program stream of colour bars with a tone, like the
# board's recordings, for the video window's picture-in-picture test.
set -eu
out=$1
mkdir -p "$(dirname "$out")"
[ -s "$out" ] && exit 0
ffmpeg -v error -y -f lavfi -i "smptebars=size=720x480:rate=30000/1001" \
  -f lavfi -i "sine=frequency=1000:sample_rate=48000" -t 20 \
  -c:v mpeg2video -b:v 4M -c:a mp2 -b:a 192k -f vob "$out.part"
mv "$out.part" "$out"
