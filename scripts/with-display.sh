#!/usr/bin/env bash
# with-display.sh COMMAND [ARGS...]
# Runs the command on the current X display, or under Xvfb when there is none.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
