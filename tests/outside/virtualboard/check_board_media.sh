#!/bin/sh
# check_board_media.sh DIR: judges what the board's capture test recorded in
# DIR. The ten-second recording is an MPEG program stream of 720x480 MPEG-2
# video at 29.97 and 48 kHz stereo Layer II lasting 10 s +- 0.5 s; the two
# parts of the continued recording add up to the pictures the source sent,
# within a frame each; every file decodes without one error.
set -eu
dir="$1"
command -v ffprobe >/dev/null || { echo "ffprobe is not installed (scripts/setup.sh installs it)"; exit 1; }
journal="$dir/board_media_journal.txt"
[ -f "$journal" ] || { echo "no journal $journal"; exit 1; }

duration() { ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$1"; }
decodes() {
  errors=$(ffmpeg -v error -xerror -i "$1" -f null - 2>&1)
  [ -z "$errors" ] || { echo "$1: $errors"; exit 1; }
}

record="$dir/board_record.mpg"
probe=$(ffprobe -v error -show_entries format=format_name:stream=codec_name,width,height,r_frame_rate,sample_rate,channels \
        -of default=nw=1 "$record")
echo "$probe"
echo "$probe" | grep -qx 'format_name=mpeg'
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mpeg2video width=720 height=480 r_frame_rate=30000/1001'
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mp2 sample_rate=48000 channels=2'
d=$(duration "$record")
echo "recording: $d s"
awk -v d="$d" 'BEGIN { exit !(d >= 9.5 && d <= 10.6) }' || { echo "expected 10 s +- 0.5 s"; exit 1; }
decodes "$record"

# The journal's board lines, in order: the recording's stop, then the parts'.
pictures=$(grep '^board graph stopped pictures=' "$journal" | sed -n 2p | sed 's/.*pictures=//')
p1=$(duration "$dir/board_part_(1).mpg")
p2=$(duration "$dir/board_part_(2).mpg")
echo "parts: $p1 s + $p2 s for $pictures pictures"
awk -v a="$p1" -v b="$p2" -v n="$pictures" \
  'BEGIN { f = 1001 / 30000; d = a + b - n * f; if (d < 0) d = -d; exit !(n > 0 && d <= 2 * f) }' ||
  { echo "the parts do not add up to the recording"; exit 1; }
decodes "$dir/board_part_(1).mpg"
decodes "$dir/board_part_(2).mpg"
# The radio's recording: Layer II sound in ASF, about three seconds.
radio="$dir/board_radio.wma"
probe=$(ffprobe -v error -show_entries format=format_name,duration:stream=codec_name,sample_rate,channels \
        -of default=nw=1 "$radio")
echo "$probe"
echo "$probe" | grep -qx 'format_name=asf'
echo "$probe" | tr '\n' ' ' | grep -q 'codec_name=mp2 sample_rate=48000 channels=2'
d=$(echo "$probe" | sed -n 's/^duration=//p')
awk -v d="$d" 'BEGIN { exit !(d >= 2.8 && d <= 4.0) }' || { echo "expected about 3 s"; exit 1; }
decodes "$radio"

# The snapshots decode at the size asked.
for shot in "board_snap.bmp 640x480" "board_snap_fine.jpg 320x240" "board_snap_coarse.jpg 320x240"; do
  set -- $shot
  size=$(ffprobe -v error -show_entries stream=width,height -of csv=s=x:p=0 "$dir/$1")
  [ "$size" = "$2" ] || { echo "$1 is $size, not $2"; exit 1; }
  decodes "$dir/$1"
done

# Named one by one: the folder also holds the test programs.
rm -f "$dir/board_snap.bmp" "$dir/board_snap_fine.jpg" "$dir/board_snap_coarse.jpg" "$radio" "$record" "$dir/board_part_(1).mpg" "$dir/board_part_(2).mpg" "$dir/board_shift.mpg"
