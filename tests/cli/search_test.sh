#!/usr/bin/env bash
# Ring: tests. tapwell-cli search, run as a user would: log lines, status on
# standard error, exit statuses, Ctrl-C as Abort.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

out=$("$cli" search --from 10011 2>"$work/err"); rc=$?
check "search 10011 log" $'n=4, from=10011\n10011\n11001\nFinished. found=2' "$out"
check "search 10011 status" "Finished. found=2" "$(cat "$work/err")"
check "search 10011 exit" 0 "$rc"

out=$("$cli" search --from 10001 --count 1 2>/dev/null)
check "x^4+1 starts at 10011, count 1" $'n=4, from=10011\n10011\nFinished. found=1' "$out"

out=$("$cli" search --from 1000000000001 2>/dev/null | tail -n 1)
check "full degree 12" "Finished. found=144" "$out"

for bad in 0111 00111 1010 101 ""; do
  out=$("$cli" search --from "$bad" 2>"$work/err"); rc=$?
  check "rejected '$bad' logs nothing" "" "$out"
  check "rejected '$bad' exit" 1 "$rc"
  check "rejected '$bad' message" "Invalid parameter" "$(cat "$work/err")"
done
"$cli" search --from 101 --lang ja 2>"$work/err" >/dev/null
check "Japanese message in UTF-8" "パラメータが不正です" "$(cat "$work/err")"

# The log file is appended to, never truncated.
echo "earlier line" > "$work/log"
"$cli" search --from 1011 --log "$work/log" 2>/dev/null; rc=$?
check "appended log" $'earlier line\nn=3, from=1011\n1011\n1101\nFinished. found=2' "$(cat "$work/log")"
check "log exit" 0 "$rc"

"$cli" search --from 1011 --log "$work/no/such/dir/log" 2>"$work/err"; rc=$?
check "unopenable log exit" 2 "$rc"
check "unopenable log names the file" 1 "$(grep -c "no/such/dir/log" "$work/err")"

# A log that cannot be written is not reported as a job that ran to its end.
"$cli" search --from 10011 --log /dev/full 2>"$work/err"; rc=$?
check "unwritable log exit" 2 "$rc"
check "unwritable log named" 1 "$(grep -c "cannot write log file '/dev/full'" "$work/err")"
"$cli" search --from 10011 >/dev/full 2>"$work/err"; rc=$?
check "unwritable standard output exit" 2 "$rc"
check "unwritable standard output named" 1 "$(grep -c "cannot write standard output" "$work/err")"

"$cli" search 2>/dev/null; check "missing --from is a usage error" 2 "$?"
"$cli" search --from 1011 --lang fr 2>/dev/null; check "unknown language" 2 "$?"
# Longer than the window's entry holds: read whole, and refused as the window refuses it.
out=$("$cli" search --from "$(printf '1%.0s' $(seq 1 2800))" 2>/dev/null); rc=$?
check "over-long text read whole and rejected" 1 "$rc"
check "over-long text logs nothing" "" "$out"
"$cli" --version >/dev/null; check "--version" 0 "$?"
"$cli" search --help >/dev/null; check "--help" 0 "$?"

# Ctrl-C is Abort: the abort text ends the log and the status; exit 130.
"$cli" search --from 100000000000000000000000000000001 --log "$work/abort.log" 2>"$work/err" &
pid=$!
for _ in $(seq 1 100); do [ -s "$work/abort.log" ] && break; sleep 0.05; done
sleep 0.3
kill -INT $pid
wait $pid; rc=$?
check "interrupt exit" 130 "$rc"
last=$(tail -n 1 "$work/abort.log")
check "abort text last in log" 1 "$(echo "$last" | grep -c '^aborted at 1[01]*, found=[0-9]*$')"
check "abort text on stderr" "$last" "$(cat "$work/err")"

finish
