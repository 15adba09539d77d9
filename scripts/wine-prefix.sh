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

marker="$WINEPREFIX/.brontel-prefix-v4"
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

REG
wine regedit /S "$reg" >/dev/null 2>&1
# Japanese glyphs come from IPA Gothic through the font link of the UI fonts.
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in Tahoma 'Tahoma Bold' 'Microsoft Sans Serif' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
  wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null 2>&1
done
wineserver -w
touch "$marker"
echo "wine-prefix: ready"
