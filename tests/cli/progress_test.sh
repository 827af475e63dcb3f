#!/usr/bin/env bash
# Ring: tests. tapwell-cli's progress line on a terminal (the share done and,
# once it can be told, the time left), nothing of it elsewhere or with
# --quiet; and --threads, which changes no byte of the log.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

# A search of about three seconds on one thread, on a pseudo-terminal.
degree28="1$(printf '0%.0s' $(seq 1 27))1"
on_terminal() {  # on_terminal ARGS...: the terminal's bytes
  script -qfec "$(printf '%q ' "$cli" "$@")" /dev/null </dev/null 2>/dev/null | tr '\r' '\n'
}
shown=$(on_terminal search --from "$degree28" --log "$work/p.log" --threads 1)
check "progress shows the share done" 1 "$([ "$(grep -c '^found=[0-9]*, checking [01]*, [0-9]*\.[0-9]%' <<<"$shown")" -gt 0 ] && echo 1)"
check "progress shows the time left" 1 "$([ "$(grep -c ', about [0-9]* s left' <<<"$shown")" -gt 0 ] && echo 1)"
check "progress ends in the final text" "Finished. found=4741632" "$(grep -v '^$' <<<"$shown" | tail -n 1 | sed 's/\x1b\[K//g')"
degree26="1$(printf '0%.0s' $(seq 1 25))1"
quiet=$(on_terminal search --from "$degree26" --log "$work/q.log" --threads 1 --quiet)
check "--quiet: no progress" 0 "$(grep -c '%' <<<"$quiet")"
"$cli" search --from "$degree26" --log "$work/r.log" --threads 1 2>"$work/err"
check "not a terminal: no progress" "Finished. found=1719900" "$(cat "$work/err")"

# --threads changes nothing of what is logged.
for threads in 1 2 3; do
  "$cli" search --from 100000000000000000001 --log "$work/t$threads.log" --threads "$threads" 2>/dev/null
done
check "search logs the same on 1, 2 and 3 threads" "" "$(cmp "$work/t1.log" "$work/t2.log"; cmp "$work/t1.log" "$work/t3.log")"
"$cli" search --from 10011 --threads 0 2>/dev/null; check "--threads 0 is a usage error" 2 "$?"

finish
