#!/bin/sh
# check_program_stream.sh FILE WIDTHxHEIGHT [PICTURES | stretch]
# FILE must be an MPEG program stream with MPEG-2 video of that size and
# 48 kHz stereo Layer II audio, and ffmpeg must decode it to the end without
# one error. With PICTURES, the stream must also hold that many pictures
# within one, and its video and audio must start within 40 ms of each other.
# With "stretch", FILE is a stretch cut out of a longer stream (a time-shift
# file read from its write position on): a reader joins it mid-picture and
# mid-audio-frame, so the video must decode without error from its first
# group of pictures on and the audio may lose only the frame cut at the start.
# The file is removed when it passes.
set -eu
file="$1"
size="$2"
pictures="${3:-}"
width="${size%x*}"
height="${size#*x}"
command -v ffprobe >/dev/null || { echo "ffprobe is not installed (scripts/setup.sh installs ffmpeg)"; exit 1; }
probe=$(ffprobe -v error -show_entries format=format_name:stream=codec_name,width,height,sample_rate,channels \
        -of default=nw=1 "$file")
echo "$probe"
echo "$probe" | grep -qx 'format_name=mpeg'
echo "$probe" | tr '\n' ' ' | grep -q "codec_name=mpeg2video width=$width height=$height"
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mp2 sample_rate=48000 channels=2'

if [ "$pictures" = stretch ]; then
  # Probing the cut start logs errors of its own; the decode's exit status
  # is what counts.
  ffmpeg -v error -xerror -ss 1 -i "$file" -map 0:v -f null - 2>/dev/null ||
    { echo "the video does not decode from its first group of pictures on"; exit 1; }
  lost=$(ffmpeg -v error -i "$file" -map 0:a -f null - 2>&1 | grep -c '^Error while decoding' || true)
  [ "$lost" -le 1 ] || { echo "$lost audio frames lost"; exit 1; }
  rm -f "$file"
  exit 0
fi

if [ -n "$pictures" ]; then
  starts=$(ffprobe -v error -show_entries stream=codec_name,start_time -of csv=p=0 "$file")
  echo "$starts"
  video_start=$(echo "$starts" | awk -F, '$1=="mpeg2video"{print $2}')
  audio_start=$(echo "$starts" | awk -F, '$1=="mp2"{print $2}')
  awk -v v="$video_start" -v a="$audio_start" 'BEGIN { d = v - a; if (d < 0) d = -d; exit !(d <= 0.040) }' ||
    { echo "audio and video start $video_start and $audio_start"; exit 1; }
  frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
           -of default=nw=1:nk=1 "$file" | head -n 1)
  echo "pictures: $frames"
  [ "$frames" -ge $((pictures - 1)) ] && [ "$frames" -le $((pictures + 1)) ] ||
    { echo "expected $pictures pictures"; exit 1; }
fi

errors=$(ffmpeg -v error -xerror -i "$file" -f null - 2>&1)
[ -z "$errors" ] || { echo "$errors"; exit 1; }
# The file stays: the player tests play it next, and each run overwrites it.
