#!/usr/bin/env bash
# Builds the Windows program Tapwell.exe, tapwell-cli.exe, the end-to-end
# driver and the window tool (tests/gui) with the MinGW-w64 cross compiler into build-windows/ (or
# $TAPWELL_WINDOWS_BUILD).
# Installs what it needs on a fresh Debian machine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAPWELL_WINDOWS_BUILD:-$root/build-windows}"
source "$root/tests/gui/wine_env.sh"
wine_install_packages
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw.cmake" >/dev/null
ninja -C "$build" -j2 Tapwell ${TAPWELL_WINDOWS_TARGETS:-tapwell-cli tapwell_gui_driver tapwell_window_tool}
echo "Built $build/shell/Tapwell.exe"
[ -f "$build/cli/tapwell-cli.exe" ] && echo "Built $build/cli/tapwell-cli.exe"
exit 0
