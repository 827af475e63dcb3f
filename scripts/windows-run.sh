#!/usr/bin/env bash
# Builds Tapwell.exe and starts it under Wine, in the current directory (where
# its Tapwell.ini lives). Without a display it starts a virtual one (Xvfb) and
# says so; the window then runs there until it is closed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAPWELL_WINDOWS_BUILD:-$root/build-windows}"
export TAPWELL_WINDOWS_BUILD="$build" TAPWELL_WINDOWS_TARGETS=" "
bash "$root/scripts/windows-build.sh"
source "$root/tests/gui/wine_env.sh"
trap wine_cleanup EXIT INT TERM
if [ -z "${DISPLAY:-}" ]; then
    wine_start_display
    echo "No DISPLAY was set: Tapwell runs on the virtual display $DISPLAY (view it with e.g. x11vnc -display $DISPLAY; Ctrl-C ends it)."
fi
wine_make_prefix "${TAPWELL_WINEPREFIX:-$build/prefix}"
wine "$build/shell/Tapwell.exe"
