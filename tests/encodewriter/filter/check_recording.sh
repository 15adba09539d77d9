#!/bin/sh
# check_recording.sh FILE: the file the capture graph recorded must be an MPEG
# program stream with 720x480 MPEG-2 video and 48 kHz stereo Layer II audio,
# three seconds long within one frame, its streams starting within 40 ms of
# each other, and ffmpeg must decode it without one error.
set -eu
file="$1"
command -v ffprobe >/dev/null || { echo "ffprobe is not installed (scripts/setup.sh installs it)"; exit 1; }
probe=$(ffprobe -v error -show_entries format=format_name:stream=codec_name,width,height,sample_rate,channels \
        -of default=nw=1 "$file")
echo "$probe"
echo "$probe" | grep -qx 'format_name=mpeg'
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mpeg2video width=720 height=480'
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mp2 sample_rate=48000 channels=2'

# 90 pictures at 29.97 a second: 3.003 s.
starts=$(ffprobe -v error -show_entries stream=codec_name,start_time -of csv=p=0 "$file")
echo "$starts"
video_start=$(echo "$starts" | awk -F, '$1=="mpeg2video"{print $2}')
audio_start=$(echo "$starts" | awk -F, '$1=="mp2"{print $2}')
awk -v v="$video_start" -v a="$audio_start" 'BEGIN { d = v - a; if (d < 0) d = -d; exit !(d <= 0.040) }' ||
  { echo "audio and video start $video_start and $audio_start"; exit 1; }
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of default=nw=1:nk=1 "$file" | head -n 1)
echo "pictures: $frames"
[ "$frames" -ge 89 ] && [ "$frames" -le 91 ] || { echo "expected 90 pictures"; exit 1; }

errors=$(ffmpeg -v error -xerror -i "$file" -f null - 2>&1)
[ -z "$errors" ] || { echo "$errors"; exit 1; }
rm -f "$file"
