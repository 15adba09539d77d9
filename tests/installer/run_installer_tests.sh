#!/usr/bin/env bash
# run_installer_tests.sh BUILD_DIR TEST_EXE [GTEST_ARGS...]
# Makes a fresh Wine prefix for the installer tests alone, with its own
# wineserver, runs the test program in it and removes the prefix again.
set -uo pipefail
build=$(cd "$1" && pwd)
exe=$2
shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$build/installer-test"
export BRONTEL_BUILD_DIR="$build"
export BRONTEL_WINEPREFIX="$work/prefix"

rm -rf "$work"
mkdir -p "$work"
"$root/scripts/wine-prefix.sh" "$build" >/dev/null || exit 1
. "$root/scripts/wine-env.sh"
wineserver -p
wine cmd /c exit 0 >/dev/null 2>&1
BRONTEL_SETUP=$(winepath -w "$build/Brontel-Setup.exe")
export BRONTEL_SETUP
wine "$exe" "$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
rm -rf "$work"
exit $rc
