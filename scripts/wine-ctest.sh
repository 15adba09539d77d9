#!/usr/bin/env bash
# wine-ctest.sh BUILD_DIR [CTEST_ARGS...]
# Runs the Windows build's tests one at a time with one wineserver kept warm
# (each Wine start then costs a fraction of a second), and stops it after.
# Call it through with-display.sh.
set -uo pipefail
build=$(cd "$1" && pwd); shift
here=$(cd "$(dirname "$0")" && pwd)
BRONTEL_BUILD_DIR="$build" . "$here/wine-env.sh"

wineserver -p
wine cmd /c exit 0 >/dev/null 2>&1
"$here/install-product.sh" "$build"
ctest --test-dir "$build" --output-on-failure --timeout 300 "$@"
rc=$?
wineserver -k 2>/dev/null
exit $rc
