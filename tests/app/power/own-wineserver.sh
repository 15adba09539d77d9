#!/usr/bin/env bash
# own-wineserver.sh [--install] BUILD_DIR PROGRAM [ARGS...]
# Runs a Windows test program in a Wine prefix, and so a wineserver, of its
# own, created once next to the build's prefix. For tests whose subject ends
# every windowed program of its server (a power-off request). With
# --install the product is installed into that prefix first, as
# install-product.sh does for the build's own prefix.
set -euo pipefail
install=0
if [ "${1:-}" = --install ]; then
  install=1
  shift
fi
build=$(cd "$1" && pwd)
shift
root=$(cd "$(dirname "$0")/../../.." && pwd)
export BRONTEL_WINEPREFIX="$build/wineprefix-own"
"$root/scripts/wine-prefix.sh" "$build" >/dev/null
BRONTEL_BUILD_DIR="$build" . "$root/scripts/wine-env.sh"
[ "$install" = 0 ] || "$root/scripts/install-product.sh" "$build"
status=0
wine "$@" || status=$?
# The server is ours alone: what still runs in it (the desktop, services
# or a power manager a test left) ends with it.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exit $status
