#!/bin/sh
# wine-exec.sh BUILD_DIR PROGRAM [ARGS...]
# Runs a Windows program under Wine in the prefix of the given build tree.
# ctest uses it as the emulator for every test of the win32 build.
build="$1"; shift
BRONTEL_BUILD_DIR="$build" . "$(dirname "$0")/wine-env.sh"
exec wine "$@"
