#!/usr/bin/env bash
# Builds Tapwell.exe and starts it under Wine in the directory named by
# TAPWELL_RUN_DIR, or else in the current directory: the program keeps its
# Tapwell.ini there. Without a display it starts a virtual one (Xvfb) and says
# so; the window then runs there until it is closed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
run_dir="${TAPWELL_RUN_DIR:-$PWD}"
if [ ! -d "$run_dir" ]; then
    echo "Cannot start Tapwell in $run_dir: no such directory (TAPWELL_RUN_DIR)." >&2
    exit 1
fi
run_dir="$(cd "$run_dir" && pwd)"
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
cd "$run_dir"
echo "Starting Tapwell in $run_dir; its settings are kept in $run_dir/Tapwell.ini."
wine "$build/shell/Tapwell.exe"
