#!/usr/bin/env bash
# End-to-end tests of Tapwell.exe under Wine: builds the Windows program and the
# driver, starts a virtual display and a fresh Wine prefix under the build
# directory, and lets the driver (tests/gui) operate the real window: at 96 DPI,
# then once more at 144 DPI. Also checks tapwell-cli.exe, and Ctrl-C on the run
# script (tests/gui/run_interrupt_test.sh). Screenshots land in
# build-windows/e2e/screenshots/. Ends with "N passed, N failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAPWELL_WINDOWS_BUILD:-$root/build-windows}"
export TAPWELL_WINDOWS_BUILD="$build"
bash "$root/scripts/windows-build.sh" || { echo "0 passed, 1 failed (Windows build)"; exit 1; }

source "$root/tests/gui/wine_env.sh"
e2e="$build/e2e"
work="$e2e/work"
shots="$e2e/screenshots"
full="$work/full"
cleanup() {
    wine_cleanup
    if mountpoint -q "$full" 2>/dev/null; then umount "$full"; fi
}
trap cleanup EXIT INT TERM
# The screenshots must come from our own display, whatever DISPLAY says.
wine_start_display force || { echo "0 passed, 1 failed (no virtual display)"; exit 1; }
if mountpoint -q "$full" 2>/dev/null; then umount "$full"; fi
rm -rf "$work" "$shots"
mkdir -p "$work" "$shots"
echo "Preparing the Wine prefix (the first time takes a minute)..."
wine_make_prefix "$e2e/prefix" fresh || { echo "0 passed, 1 failed (Wine prefix)"; exit 1; }
# A file system of 256 KiB of its own, which the driver fills to the last byte
# to save the settings on a full disk. Mounting it needs root (as in CI).
mkdir -p "$full"
if ! mount -t tmpfs -o size=256k tapwell-e2e "$full" 2>/dev/null; then
    rmdir "$full"
    echo "No file system of our own could be mounted (not root?): the settings save on a full disk is skipped."
fi
cp "$build/shell/Tapwell.exe" "$build/tests/gui/tapwell_gui_driver.exe" "$build/cli/tapwell-cli.exe" "$work/"
cd "$work"
# An English locale: the Japanese texts must show whatever the code page is.
export LANG=en_US.UTF-8 LC_ALL=C.UTF-8
passed=0
failed=0
# Runs the driver with the given arguments, takes the screenshots it asks for
# and adds its "N passed, N failed" to the totals.
run_driver() {
    local line summary="" name x y w h p f
    while IFS= read -r line; do
        line="${line%$'\r'}"
        case "$line" in
            SHOT\ *)
                read -r _ name x y w h <<<"$line"
                if import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$shots/$name.png" 2>/dev/null; then
                    echo "screenshot $shots/$name.png"
                else
                    echo "screenshot $name could not be taken"
                fi
                touch "$work/$name.shot"
                ;;
            "wine: Read access denied for device"*) ;;  # the file dialog probing Z:, harmless
            *)
                case "$line" in
                    *" passed, "*" failed") summary="$line"; echo "driver: $line" ;;
                    *) echo "$line" ;;
                esac
                ;;
        esac
    done < <(timeout 480 wine tapwell_gui_driver.exe "$@" 2>&1)
    if [ -z "$summary" ]; then
        echo "FAIL the driver did not finish"
        summary="0 passed, 1 failed"
    fi
    read -r p _ f _ <<<"$summary"
    passed=$((passed + p))
    failed=$((failed + f))
}
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "PASS $1"
        passed=$((passed + 1))
    else
        echo "FAIL $1"
        echo "$3" | head -5 | sed 's/^/    /'
        failed=$((failed + 1))
    fi
}

run_driver

# The console front end, cross-compiled too, on the same search; its version
# is the project's, as the window program's version resource is.
check "tapwell-cli.exe search --from 10011" $'n=4, from=10011\n10011\n11001\nFinished. found=2' \
    "$(timeout 60 wine tapwell-cli.exe search --from 10011 2>/dev/null | tr -d '\r')"
version="$(sed -n 's/^project(Tapwell VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
check "tapwell-cli.exe --version is the project's $version" "tapwell-cli $version" \
    "$(timeout 60 wine tapwell-cli.exe --version 2>/dev/null | tr -d '\r')"

# Ctrl-C on the run script, in this prefix, on a virtual display of its own.
wineserver -k >/dev/null 2>&1 || true
if TAPWELL_WINEPREFIX="$WINEPREFIX" bash "$root/tests/gui/run_interrupt_test.sh"; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi

# The same prefix at 144 DPI (150 %), where Wine reads it: the user's desktop
# setting and the current hardware profile's fonts. A new wineserver takes it.
wineserver -k >/dev/null 2>&1 || true
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:00000090\r\n'
    printf '\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\r\n'
    printf '"LogPixels"=dword:00000090\r\n'
} >"$work/dpi144.reg"
wine regedit /S "$work/dpi144.reg" >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
run_driver --at-144-dpi

echo "screenshots: $shots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
