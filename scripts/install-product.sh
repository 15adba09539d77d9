#!/usr/bin/env bash
# install-product.sh BUILD_DIR
# Installs the built product into the build tree's Wine prefix, as a Windows
# installer would: the channel tables and the skin into the Windows directory,
# the installation path into AppSet, and the COM server and the filters
# registered with regsvr32.
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
BRONTEL_BUILD_DIR="$build" . "$root/scripts/wine-env.sh"
bin="$build/bin"
windir="$WINEPREFIX/drive_c/windows"

shopt -s nullglob
for f in "$root"/data/*.ini "$root"/skin/*.skn "$build"/skin/*.skn; do
  [ "$(basename "$f")" = registersetting.ini ] && continue
  cp -f "$f" "$windir/"
done
# The board library's own file lives in the installation folder; the program
# only updates it.
cp -f "$root/data/registersetting.ini" "$bin/" 2>/dev/null || true

installpath=$(winepath -w "$bin" 2>/dev/null || echo 'Z:\')
wine reg add 'HKCU\SOFTWARE\Kestrova\Pellamy\App\AppSet' /v InstallPath /t REG_SZ /d "$installpath\\" /f >/dev/null 2>&1 || true

# From the installation folder, so that a library finds the libraries it
# links (kxEncodeWriter.ax needs gomotion.dll and StdPropPage.dll) there.
cd "$bin"
for dll in KXApiMgr.dll kxEncodeWriter.ax kxDIgrab.ax kxDISnap.ax MediaPlayerControl.ocx; do
  if [ -f "$bin/$dll" ]; then
    wine regsvr32 /s "$bin/$dll" >/dev/null 2>&1 || echo "install-product: regsvr32 $dll failed" >&2
  fi
done
