# Sourced with BRONTEL_BUILD_DIR set to the build directory: points Wine at the
# project's own 32-bit prefix in that build tree, never at ~/.wine.
_brontel_build="${BRONTEL_BUILD_DIR:?}"
export WINEPREFIX="${BRONTEL_WINEPREFIX:-$_brontel_build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine Mono and Gecko are not needed and would prompt for a download.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# No sound card here: HOME holds an .asoundrc with a null ALSA device.
if [ -n "${HOME:-}" ] && [ -z "${XAUTHORITY:-}" ] && [ -f "$HOME/.Xauthority" ]; then
  export XAUTHORITY="$HOME/.Xauthority"
fi
export HOME="$_brontel_build/winehome"
unset _brontel_build
