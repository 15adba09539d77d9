#!/bin/sh
# small_disk.sh setup|cleanup BUILD_DIR
# A real disk with 64 MiB: a tmpfs mounted in the build tree and mapped to
# the Wine drive R: of the build's prefix. Mounting needs root, which the
# developers' machines and CI have.
set -eu
action="$1"
build="$2"
mountpoint="$build/test-output/small-disk"
drive="${BRONTEL_WINEPREFIX:-$build/wineprefix}/dosdevices/r:"
case "$action" in
  setup)
    mkdir -p "$mountpoint"
    if ! mountpoint -q "$mountpoint"; then
      mount -t tmpfs -o size=64m tmpfs "$mountpoint" ||
        { echo "cannot mount a small tmpfs at $mountpoint (needs root)"; exit 1; }
    fi
    ln -sfn "$mountpoint" "$drive"
    ;;
  cleanup)
    rm -f "$drive"
    if mountpoint -q "$mountpoint"; then umount "$mountpoint"; fi
    ;;
  *)
    echo "usage: small_disk.sh setup|cleanup BUILD_DIR"; exit 2 ;;
esac
