# Ring: tests. Shared by scripts/windows-e2e.sh and scripts/windows-run.sh:
# the Debian packages, a virtual display, and a Wine prefix of our own with a
# Japanese font linked in. Source it; call wine_cleanup on exit.

WINE_PACKAGES="g++-mingw-w64-x86-64 wine wine64 xvfb xauth imagemagick fonts-ipafont-gothic cmake ninja-build libcli11-dev"

# 64-bit Tapwell.exe needs only wine64: no i386 architecture is added.
# Found when sourced: the caller may change directory before installing.
WINE_ENV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
wine_install_packages() {
    # shellcheck disable=SC2086  # the list is split on purpose
    bash "$WINE_ENV_ROOT/scripts/install-deps.sh" $WINE_PACKAGES
}

# Starts Xvfb on a free display unless one is given; sets DISPLAY and XVFB_PID.
XVFB_PID=""
wine_start_display() {
    local force="${1:-}"
    if [ -n "${DISPLAY:-}" ] && [ -z "$force" ]; then return 0; fi
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    if [ ! -e "/tmp/.X11-unix/X$n" ]; then
        echo "The virtual display (Xvfb) on $DISPLAY did not start." >&2
        return 1
    fi
    echo "Started a virtual display (Xvfb) on $DISPLAY"
}

# Says what failed in setting up the prefix, with the end of Wine's output.
wine_setup_failed() {
    echo "Wine could not be set up in $WINEPREFIX: $1. The end of its output:" >&2
    tail -n 20 "$WINEPREFIX/tapwell-setup.log" >&2
    return 1
}

# A fresh prefix under $1 (fails, leaving it unmarked, when Wine cannot make
# it or take the font settings). Japanese glyphs come from IPA P Gothic (proportional,
# like the system font it backs up) through Wine's
# font replacement and linking, so they show in an English locale too.
PREFIX_VERSION=2  # raise when the setup below changes
wine_make_prefix() {
    export WINEPREFIX="$1"
    export HOME="${HOME:-$(dirname "$WINEPREFIX")}"
    [ "${2:-}" = fresh ] && rm -rf "$WINEPREFIX"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ "$(cat "$WINEPREFIX/.tapwell-ready" 2>/dev/null)" != "$PREFIX_VERSION" ]; then
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        local log="$WINEPREFIX/tapwell-setup.log"
        wineboot -i >"$log" 2>&1 || { wine_setup_failed "wineboot -i failed"; return 1; }
        wineserver -w || true
        [ -f "$WINEPREFIX/system.reg" ] && [ -d "$WINEPREFIX/drive_c/windows/system32" ] ||
            { wine_setup_failed "wineboot made no prefix"; return 1; }
        local reg="$WINEPREFIX/fonts.reg"
        {
            printf 'REGEDIT4\r\n\r\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
            for f in "MS UI Gothic" "MS Gothic" "MS PGothic" "MS Mincho"; do
                printf '"%s"="IPAPGothic"\r\n' "$f"
            done
            # Without a window manager Wine draws the frames and captions itself.
            printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="N"\r\n'
            printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
            for f in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif" "Microsoft Sans Serif" "System" "Arial" "Segoe UI"; do
                printf '"%s"=hex(7):69,00,70,00,61,00,67,00,70,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,50,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00\r\n' "$f"
            done
        } > "$reg"
        wine regedit /S "$reg" >>"$log" 2>&1 || { wine_setup_failed "the font settings could not be imported"; return 1; }
        wineserver -w || true
        grep -q IPAPGothic "$WINEPREFIX/user.reg" ||
            { wine_setup_failed "the font settings did not reach the registry"; return 1; }
        echo "$PREFIX_VERSION" > "$WINEPREFIX/.tapwell-ready"
    fi
}

wine_cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}
