#!/usr/bin/env bash
# Ring: tests. A log that can no longer be written ends the job at once, for
# every job: exit status 2, one line naming the file and the system's reason,
# no final text, whole lines only, and the program gone within a second of the
# failure (the file size limit stands in for a full disk; SIGXFSZ ignored).
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

limit_kib=64
limit=$((limit_kib * 1024))

# fails NAME BEFORE ARGS...: runs tapwell-cli with a log of at most $limit
# bytes and checks how it ends (BEFORE: what standard error holds of jobs that
# ended before the one that failed); the time to stop runs from the moment the
# file reached the limit to the program's exit.
fails() {
  local name=$1 before=$2 log="$work/$1.log" pid reached="" ended size
  shift 2
  rm -f "$log"
  (trap '' XFSZ; ulimit -f $limit_kib; exec "$cli" "$@" --log "$log" 2>"$work/err") &
  pid=$!
  while kill -0 $pid 2>/dev/null; do
    size=$(stat -c %s "$log" 2>/dev/null || echo 0)
    if [ -z "$reached" ] && [ "$size" -ge $((limit - 4096)) ]; then reached=$(date +%s%N); fi
    sleep 0.005
  done
  ended=$(date +%s%N)
  wait $pid; rc=$?
  # Gone before the first look: within one look's interval of the failure.
  if [ -z "$reached" ] && [ "$(stat -c %s "$log")" -ge $((limit - 4096)) ]; then reached=$ended; fi
  check "$name: exit" 2 "$rc"
  local error="tapwell-cli: cannot write log file '$log': File too large"
  check "$name: one line naming the file and the reason" "${before:+$before$'\n'}$error" "$(cat "$work/err")"
  check "$name: ends on a line end" "" "$(tail -c 1 "$log" | tr -d '\n')"
  check "$name: no final text of the job that failed" "$before" "$(grep -E '^(Finished|Completed)' "$log")"
  check "$name: stopped within a second of the failure" yes \
    "$([ -n "$reached" ] && [ $(( (ended - reached) / 1000000 )) -lt 1000 ] && echo yes || echo "no: reached=${reached:-never}, ended=$ended")"
}

deg32=100000000000000000000000000000011
fails generation "" generate --width 1 --count 0 --list-text "$deg32"$'\n1'
fails search "" search --from 1$(printf '0%.0s' $(seq 1 31))1
fails correlation "" correlate --list-text $'1000000000000000000011011\n1\n1000000000000000010000111\n1'
# The primitive search's log fits; the pair search's lines fill the file.
fails pairs "Finished. found=630" pairs --from 1$(printf '0%.0s' $(seq 1 12))1

# Ctrl-C while the log is failing: the interruption still decides the exit
# status (130), and the failure is still named. Standard output is a pipe
# whose reader reads nothing and goes away after a while (SIGPIPE ignored):
# the Ctrl-C comes while a write hangs on the full pipe, which then fails.
fifo="$work/pipe"
mkfifo "$fifo"
(trap '' PIPE; exec "$cli" generate --width 1 --count 0 --list-text "$deg32"$'\n1' >"$fifo" 2>"$work/err") &
pid=$!
sleep 1.5 <"$fifo" &
sleep 0.5
kill -INT $pid
wait $pid; rc=$?
check "Ctrl-C while the log fails: exit" 130 "$rc"
check "Ctrl-C while the log fails: the failure named" \
  "tapwell-cli: cannot write standard output: Broken pipe" "$(tail -n 1 "$work/err")"
wait

finish
