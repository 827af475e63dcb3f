#!/usr/bin/env bash
# Ring: tests. tapwell-cli writing its log to a disk that fills: exit status
# 2, the file and the system's reason named, and a file that holds whole
# lines only, cut back to the last one that fitted. Also standard output on a
# full device and on a pipe closed by its reader.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

deg32=100000000000000000000000000000011
# 2^20 one-bit values: 2 MiB of two-byte lines after a header of 57 bytes, so
# that a page boundary always falls inside a line.
gen() { "$cli" generate --width 1 --count 1048576 --list-text "$deg32"$'\n1' "$@"; }
pattern='^polynominal=1[01]*, initial=1$|^[01]$'

# filled NAME LOG LIMIT REASON: the run that wrote LOG until LIMIT bytes
# would not take more, as seen in its exit status $rc and $work/err.
filled() {
  local name=$1 log=$2 limit=$3 reason=$4 size
  size=$(stat -c %s "$log")
  check "$name: exit" 2 "$rc"
  check "$name: message" "tapwell-cli: cannot write log file '$log': $reason" "$(grep tapwell-cli: "$work/err")"
  check "$name: ends on a line end" "" "$(tail -c 1 "$log" | tr -d '\n')"
  check "$name: only whole lines" 0 "$(LC_ALL=C grep -cvE "$pattern" "$log")"
  check "$name: within the limit, every whole line that fitted kept" yes \
    "$([ "$size" -le "$limit" ] && [ "$size" -gt $((limit - 4096)) ] && echo yes || echo "no: $size of $limit")"
}

# A file system of 1 MiB, when we may mount one (as root, as in CI).
full="$work/full"
mkdir -p "$full"
if mount -t tmpfs -o size=1m tapwell-test "$full" 2>/dev/null; then
  trap 'umount "$full"; rm -rf "$work"' EXIT
  gen --log "$full/gen.log" 2>"$work/err"; rc=$?
  filled "full file system" "$full/gen.log" 1048576 "No space left on device"
  # What was there before stays, and a second run adds nothing once full.
  cp "$full/gen.log" "$work/before"
  gen --log "$full/gen.log" 2>"$work/err"; rc=$?
  check "full file system, second run: exit" 2 "$rc"
  check "full file system, second run: file as it was" "" "$(cmp "$work/before" "$full/gen.log" 2>&1)"
else
  echo "SKIP full file system: no file system of our own could be mounted (not root, or mounting not allowed here); only the file size limit stands in for a full disk"
fi

# The limit on the size of a file the process may write (ulimit -f, in KiB)
# cuts a write short as a full disk does, then fails it; SIGXFSZ ignored.
(trap '' XFSZ; ulimit -f 600; gen --log "$work/limited.log" 2>"$work/err"); rc=$?
filled "file size limit" "$work/limited.log" $((600 * 1024)) "File too large"

# Standard output on a full device.
gen >/dev/full 2>"$work/err"; rc=$?
check "/dev/full: exit" 2 "$rc"
check "/dev/full: message" "tapwell-cli: cannot write standard output: No space left on device" "$(grep tapwell-cli: "$work/err")"

# A pipe whose reader has gone: SIGPIPE ends the program, as it ends any
# writer; where SIGPIPE is ignored, the error is reported.
env --default-signal=PIPE "$cli" generate --width 1 --count 0 --list-text "$deg32"$'\n1' 2>"$work/err" | head -n 1 >"$work/out"
check "closed pipe: killed by SIGPIPE" "141 0" "${PIPESTATUS[*]}"
check "closed pipe: the reader had its line" "polynominal=${deg32}, initial=1" "$(cat "$work/out")"
env --ignore-signal=PIPE "$cli" generate --width 1 --count 1048576 --list-text "$deg32"$'\n1' 2>"$work/err" | head -n 1 >/dev/null
check "closed pipe, SIGPIPE ignored: exit" "2" "${PIPESTATUS[0]}"
check "closed pipe, SIGPIPE ignored: message" "tapwell-cli: cannot write standard output: Broken pipe" "$(grep tapwell-cli: "$work/err")"

finish
