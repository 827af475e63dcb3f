#!/usr/bin/env bash
# Builds Tapwell.exe and starts it under Wine in the directory named by
# TAPWELL_RUN_DIR, or else in the current directory: the program keeps its
# Tapwell.ini there. Without a display it starts a virtual one (Xvfb) and says
# so; the window then runs there until it is closed.
#
# Ctrl-C (or SIGTERM) closes the window as a user would, so that it saves its
# settings, waits for the program to end, and only then stops Wine and the
# virtual display; a second Ctrl-C stops everything at once.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
run_dir="${TAPWELL_RUN_DIR:-$PWD}"
if [ ! -d "$run_dir" ]; then
    echo "Cannot start Tapwell in $run_dir: no such directory (TAPWELL_RUN_DIR)." >&2
    exit 1
fi
run_dir="$(cd "$run_dir" && pwd)"
build="${TAPWELL_WINDOWS_BUILD:-$root/build-windows}"
export TAPWELL_WINDOWS_BUILD="$build" TAPWELL_WINDOWS_TARGETS="tapwell_window_tool"
bash "$root/scripts/windows-build.sh"
source "$root/tests/gui/wine_env.sh"
trap wine_cleanup EXIT
trap 'exit 130' INT TERM  # until the window is up there is nothing to save
if [ -z "${DISPLAY:-}" ]; then
    # A process group of its own (job control on for the moment): the
    # terminal's Ctrl-C must not end the display under the window.
    set -m
    wine_start_display
    set +m
    echo "No DISPLAY was set: Tapwell runs on the virtual display $DISPLAY (view it with e.g. x11vnc -display $DISPLAY; Ctrl-C closes it)."
fi
wine_make_prefix "${TAPWELL_WINEPREFIX:-$build/prefix}"
cd "$run_dir"
echo "Starting Tapwell in $run_dir; its settings are kept in $run_dir/Tapwell.ini."

# In a session of its own the program does not get the terminal's Ctrl-C,
# which would end it on the spot and lose its settings; this script gets it
# and asks the window to close instead.
setsid -w wine "$build/shell/Tapwell.exe" &
program=$!
closing=""
on_interrupt() {
    if [ -n "$closing" ]; then
        echo "Stopping Tapwell and Wine at once."
        exit 130
    fi
    closing=1
    echo "Closing Tapwell's window so that it saves its settings (Ctrl-C again stops at once)..."
    if ! wine "$build/tests/gui/tapwell_window_tool.exe" close; then
        echo "Tapwell's window is not up; stopping."
        exit 130
    fi
}
trap on_interrupt INT TERM
status=0
while kill -0 "$program" 2>/dev/null; do
    status=0
    wait "$program" || status=$?
done
if [ -n "$closing" ]; then
    echo "Tapwell has ended."
    exit 130
fi
exit "$status"
