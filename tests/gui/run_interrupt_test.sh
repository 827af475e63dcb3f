#!/usr/bin/env bash
# Ring: tests. Ctrl-C on scripts/run.sh, as a terminal sends it: the window
# closes as a user would close it, so Tapwell.ini is written, and only then do
# Wine and the virtual display end. Starts run.sh without a display (it makes
# its own), in a run directory of its own, with the Wine prefix named by
# TAPWELL_WINEPREFIX (default: the run script's). Prints one PASS or FAIL line.
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${TAPWELL_WINDOWS_BUILD:-$root/build-windows}"
export TAPWELL_WINDOWS_BUILD="$build"
export TAPWELL_WINEPREFIX="${TAPWELL_WINEPREFIX:-$build/prefix}"
work="$(mktemp -d /tmp/tapwell-run-test.XXXXXX)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/run"
# A settings file of two lines (English); the window writes all 32 back on closing.
printf '20\r\n1\r\n' > "$work/run/Tapwell.ini"

fail() {
    echo "FAIL Ctrl-C on run.sh saves the settings: $*"
    sed 's/^/    /' "$work/out" | tail -n 15
    exit 1
}

# Job control gives run.sh a process group of its own, as a terminal's
# foreground job has, and leaves SIGINT to it (a plain background job would
# ignore it).
set -m
env -u DISPLAY TAPWELL_RUN_DIR="$work/run" bash "$root/scripts/run.sh" >"$work/out" 2>&1 &
group=$!
set +m

display=""
for _ in $(seq 1 1200); do  # the first run of a new prefix takes a minute
    display="$(sed -n 's/^No DISPLAY was set: Tapwell runs on the virtual display \(:[0-9]*\).*/\1/p' "$work/out")"
    grep -q '^Starting Tapwell in ' "$work/out" && [ -n "$display" ] && break
    kill -0 "$group" 2>/dev/null || fail "run.sh ended before starting Tapwell"
    sleep 0.1
done
[ -n "$display" ] || fail "run.sh started no virtual display"
DISPLAY="$display" WINEPREFIX="$TAPWELL_WINEPREFIX" WINEDEBUG=-all \
    wine "$build/tests/gui/tapwell_window_tool.exe" wait 60 || fail "the window did not appear"
sleep 1
touch "$work/before-interrupt"
sleep 1  # a modification time after the mark even on coarse file systems

kill -INT -- "-$group"
status=0
for _ in $(seq 1 300); do
    kill -0 "$group" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$group" 2>/dev/null && fail "run.sh still runs 30 s after Ctrl-C"
wait "$group" || status=$?

ini="$work/run/Tapwell.ini"
[ "$status" -eq 130 ] || fail "exit status $status, not 130"
grep -q "Closing Tapwell's window" "$work/out" || fail "no word of closing the window"
[ "$ini" -nt "$work/before-interrupt" ] || fail "Tapwell.ini was not written after Ctrl-C"
lines="$(tr -d '\r' <"$ini" | wc -l)"
[ "$lines" -eq 32 ] || fail "Tapwell.ini has $lines lines, not 32"
[ "$(tr -d '\r' <"$ini" | sed -n 2p)" = 1 ] || fail "the language was not kept"
[ -e "/tmp/.X11-unix/X${display#:}" ] && fail "the virtual display $display still runs"
echo "PASS Ctrl-C on run.sh saves the settings, then ends Wine and the virtual display"
