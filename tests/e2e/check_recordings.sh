#!/bin/sh
# check_recordings.sh TEST_OUTPUT_DIR: judges what the recording media tests
# left: every recording decodes without one error, the ten-second recording
# lasts 10 s and the time-limited one 15 s, within a second each.
# A part closed at the size limit stops where the limit falls, mid-picture,
# so it must decode without error up to its last picture start; the last
# part, closed by the stop, must decode whole.
# check_recordings.sh --self-test WORK_DIR: shows on a stream made by ffmpeg
# that the cut-part judgement passes a clean cut and fails on a damaged byte.
set -eu
command -v ffprobe >/dev/null || { echo "ffprobe is not installed (scripts/setup.sh installs it)"; exit 1; }
duration() { ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$1"; }
within() { awk -v d="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(d >= lo && d <= hi) }'; }

# decode_errors FILE: what ffmpeg reports decoding FILE, empty when clean.
decode_errors() { ffmpeg -v error -xerror -i "$1" -f null - 2>&1 || true; }

# cut_part_errors FILE: the errors of FILE without its final, cut picture:
# the stream up to that picture's start, with the video packet it starts in
# shortened to match, so that only the damage before it can show.
cut_part_errors() {
  python3 - "$1" "$1.whole" <<'PY' || { echo "no picture in $1"; return; }
import re, sys
data = open(sys.argv[1], "rb").read()
last = data.rfind(b"\x00\x00\x01\x00")
packets = [m.start() for m in re.finditer(b"\x00\x00\x01[\xe0-\xef]", data[:last])]
if last < 0 or not packets:
    sys.exit(1)
start = packets[-1]
length = last - start - 6
out = bytearray(data[:last])
out[start + 4:start + 6] = length.to_bytes(2, "big")
open(sys.argv[2], "wb").write(out)
PY
  decode_errors "$1.whole"
  rm -f "$1.whole"
}

if [ "$1" = --self-test ]; then
  work="$2"
  mkdir -p "$work"
  ffmpeg -v error -y -f lavfi -i testsrc=size=720x480:rate=30000/1001 \
    -f lavfi -i sine=frequency=440:sample_rate=48000 -t 4 -c:v mpeg2video -b:v 6M \
    -c:a mp2 -ac 2 -b:a 192k -f vob "$work/self-full.mpg"
  head -c 2000000 "$work/self-full.mpg" >"$work/self-cut.mpg"
  errors=$(cut_part_errors "$work/self-cut.mpg")
  [ -z "$errors" ] || { echo "a clean cut was judged damaged: $errors"; exit 1; }
  # A byte of picture data in the middle, away from the cut.
  pictures=$(LC_ALL=C grep -obUaP '\x00\x00\x01\x01' "$work/self-cut.mpg" | cut -d: -f1)
  middle=$(echo "$pictures" | sed -n "$(($(echo "$pictures" | wc -l) / 2))p")
  printf '\377\000\377\000\377\000\377\000' | dd of="$work/self-cut.mpg" bs=1 seek=$((middle + 100)) conv=notrunc 2>/dev/null
  errors=$(cut_part_errors "$work/self-cut.mpg")
  [ -n "$errors" ] || { echo "damage in the middle of a cut part went unnoticed"; exit 1; }
  rm -f "$work/self-full.mpg" "$work/self-cut.mpg"
  exit 0
fi

out="$1"
status=0
for file in "$out"/rec-manual/*.mpg "$out"/rec-timed/*.mpg; do
  [ -f "$file" ] || { echo "missing: $file"; status=1; continue; }
  errors=$(decode_errors "$file")
  [ -z "$errors" ] || { echo "$file: $errors"; status=1; }
done
parts=$(ls "$out"/rec-parts/*.mpg 2>/dev/null | wc -l)
[ "$parts" -ge 3 ] || { echo "expected at least 3 parts in $out/rec-parts, found $parts"; status=1; }
for file in "$out"/rec-parts/*.mpg; do
  [ -f "$file" ] || continue
  case "$file" in
    *"_($parts)"*) errors=$(decode_errors "$file") ;;
    *) errors=$(cut_part_errors "$file") ;;
  esac
  [ -z "$errors" ] || { echo "$file: $errors"; status=1; }
done
for pair in "rec-manual 9 11.5" "rec-timed 14 16"; do
  set -- $pair
  for file in "$out/$1"/*.mpg; do
    [ -f "$file" ] || continue
    d=$(duration "$file")
    echo "$file: $d s"
    within "$d" "$2" "$3" || { echo "expected $2 to $3 s"; status=1; }
  done
done
exit $status
