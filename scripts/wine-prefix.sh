#!/usr/bin/env bash
# wine-prefix.sh BUILD_DIR
# Creates and configures the project's own 32-bit Wine prefix in the build
# tree: a virtual desktop (closing and tray calls stall for seconds without
# one), Wine-drawn captions (there is no window manager under Xvfb), the
# fonts copied in, a Japanese font link and a null sound device.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
BRONTEL_BUILD_DIR="$build" . "$here/wine-env.sh"

mkdir -p "$HOME"
[ -f "$HOME/.asoundrc" ] || echo 'pcm.!default { type null }' > "$HOME/.asoundrc"

marker="$WINEPREFIX/.brontel-prefix-v1"
[ -f "$marker" ] && exit 0

echo "wine-prefix: creating $WINEPREFIX"
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
wineserver -w

fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
for f in /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf /usr/share/fonts/truetype/fonts-japanese-gothic.ttf; do
  [ -f "$f" ] && cp -fL "$f" "$fonts/ipag.ttf" && break
done

reg="$WINEPREFIX/brontel-setup.reg"
cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"IPAGothic (TrueType)"="ipag.ttf"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=hex(7):69,00,70,00,61,00,67,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00
"Microsoft Sans Serif"=hex(7):69,00,70,00,61,00,67,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00
REG
wine regedit /S "$reg" >/dev/null 2>&1
wineserver -w
touch "$marker"
echo "wine-prefix: ready"
