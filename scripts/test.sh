#!/usr/bin/env bash
# test.sh [native|win32|all] [CTEST_ARGS...]
# Runs every test: the native unit tests under ASan and UBSan, then the
# Windows build's tests under Wine. Installs what is missing first.
# Extra arguments go to ctest, e.g.  scripts/test.sh native -R Settings
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
case "$which" in native|win32|all) shift || true ;; *) which=all ;; esac
build=${BRONTEL_BUILD:-$root/build}
jobs=$(nproc)

"$root/scripts/setup.sh" || exit 1

status=0
# No folder includes a header of a folder that includes its own.
python3 "$root/scripts/check-include-layers.py" "$root" || status=1

if [ "$which" != win32 ]; then
  echo "=== native unit tests (ASan + UBSan) ==="
  cmake -S "$root" -B "$build/native-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DBRONTEL_SANITIZE=ON >/dev/null || exit 1
  cmake --build "$build/native-asan" -j "$jobs" || exit 1
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$build/native-asan" --output-on-failure -j "$jobs" "$@" || status=1
  if [ -x "$root/scripts/fuzz.sh" ]; then
    "$root/scripts/fuzz.sh" "$build/fuzz" || status=1
  fi
fi

if [ "$which" != native ]; then
  echo "=== Windows build, tests under Wine ==="
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        --toolchain "$root/cmake/toolchain-mingw-i686.cmake" >/dev/null || exit 1
  cmake --build "$build/win32" -j "$jobs" || exit 1
  "$root/scripts/wine-prefix.sh" "$build/win32" || exit 1
  "$root/scripts/with-display.sh" "$root/scripts/wine-ctest.sh" "$build/win32" "$@" || status=1
fi

exit $status
