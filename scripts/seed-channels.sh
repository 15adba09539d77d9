#!/usr/bin/env bash
# seed-channels.sh BUILD_DIR
# Gives a profile that has no TV settings yet the Tokyo channel list a first
# channel scan would find, so that the demo run starts on a station instead
# of an empty list. A profile that already has TV settings is left alone.
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
BRONTEL_BUILD_DIR="$build" . "$root/scripts/wine-env.sh"

key='HKEY_CURRENT_USER\SOFTWARE\Kestrova\Pellamy\App\TVSet'
if wine reg query "$key" >/dev/null 2>&1; then exit 0; fi

channels=(1 3 4 6 8 10 12)
names=("ＮＨＫ総合" "ＮＨＫ教育" "日本テレビ" "ＴＢＳ" "フジテレビ" "テレビ朝日" "テレビ東京")
reg="$WINEPREFIX/brontel-channels.reg"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n' "$key"
  printf '"lPrefCode"="13"\r\n"lAreaCode"="0"\r\n"lTVChnCount"="%d"\r\n' "${#channels[@]}"
  printf '"lCurrChn"="1"\r\n"lTunerSrc"="0"\r\n"amPrefSAPMode"="4"\r\n'
  for i in $(seq 1 181); do
    printf '\r\n[%s\\ChnInfo%03d]\r\n' "$key" "$i"
    if [ "$i" -le "${#channels[@]}" ]; then
      c=${channels[$((i - 1))]}; n=${names[$((i - 1))]}
    else
      c=0; n=""
    fi
    printf '"lChn"="%d"\r\n"lFreqChn"="%d"\r\n' "$i" "$c"
    printf '"dPresetFreq"="0.000"\r\n"dFreqOffset"="0.000"\r\n'
    printf '"szTVStnName"="%s"\r\n"szTVPIStnName"="%s"\r\n' "$n" "$n"
  done
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
wine regedit /S "$reg" >/dev/null 2>&1
