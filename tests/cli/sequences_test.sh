#!/usr/bin/env bash
# Ring: tests. tapwell-cli generate, correlate and pairs, run as a user would:
# log lines, status on standard error, exit statuses, list input, Ctrl-C.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

two=$'10011\r\n0001\r\n11001\r\n0001'

# Generation: the worked rows.
gen() { "$cli" generate "$@" 2>"$work/err"; }
values() { tr '\n' ' ' | sed 's/ $//'; }
out=$(gen --mode gold --width 4 --list-text $'10011\n0001\n11001\n0001'); rc=$?
check "gold 4" $'polynominal_A=10011, initial=1\npolynominal_B=11001, initial=1\n0\n6\n15\n6\n0\n11\n7\n3\n8\n13\n11\n1\n12\n14\n13\nCompleted.' "$out"
check "gold 4 status" "Completed." "$(cat "$work/err")"
check "gold 4 exit" 0 "$rc"
check "serial 1" "polynominal=10011, initial=1 1 0 0 0 1 0 0 1 1 0 1 0 1 1 1 Completed." \
  "$(gen --list-text "$two" | values)"
check "serial 1 with states" "1, 1|0, 8|0, 4" "$(gen --show-register --count 3 --list-text "$two" | sed -n 2,4p | paste -sd'|')"
check "serial 4" "1 9 5 15 8 12 10 7 4 6 13 3 2 11 14" "$(gen --width 4 --list-text "$two" | sed -n 2,16p | values)"
check "parallel 2" "3 0 0 0 3 2 2 3 1 2 1 2 3 1 1" "$(gen --mode parallel --width 2 --list-text "$two" | sed -n 3,17p | values)"
check "gold 1 with states" "0, 1, 1|0, 8, 8|0, 4, 12" "$(gen --mode gold --show-register --count 3 --list-text "$two" | sed -n 3,5p | paste -sd'|')"

# Parameter errors: nothing logged, exit 1, the message in the chosen language.
for args in "--width 5" "--width 0" "--width 33" "--width x" "--mode parallel --width 3"; do
  out=$(gen $args --list-text "$two"); rc=$?
  check "rejected $args logs nothing" "" "$out"
  check "rejected $args exit" 1 "$rc"
  check "rejected $args message" "Invalid parameter" "$(cat "$work/err")"
done
gen --list-text "" >/dev/null; check "empty list exit" 1 "$?"
gen --list-text 101 --lang ja >/dev/null
check "Japanese message" "パラメータが不正です" "$(cat "$work/err")"

# The list from a file, byte for byte, and from standard input.
printf '10011\r\n\r\n0001' >"$work/list"
check "list file" "polynominal=10011, initial=1 1 0 0 Completed." "$(gen --count 3 --list "$work/list" | values)"
check "list stdin" "polynominal=10011, initial=1 1 0 0 Completed." "$(printf '10011\n1' | gen --count 3 --list - | values)"
printf '10011\n0\x82\xa0\n11001\n1' >"$work/sjis"
check "high byte ends its line" "polynominal=10011, initial= 0 0 Completed." "$(gen --count 2 --list "$work/sjis" | values)"
gen --list "$work/missing" >/dev/null; rc=$?
check "missing list file exit" 2 "$rc"
check "missing list file named" 1 "$(grep -c "$work/missing" "$work/err")"
# Lists longer than the window's entry are read whole: a polynomial line of
# 2700 digits is rejected as the window rejects it, and a list whose entries
# are 3000 line ends apart runs as the short one.
head -c 2700 /dev/zero | tr '\0' '1' >"$work/long"
out=$(gen --list "$work/long"); rc=$?
check "over-long polynomial rejected" 1 "$rc"
check "over-long polynomial logs nothing" "" "$out"
{ printf '10011'; head -c 3000 /dev/zero | tr '\0' '\n'; printf '0001\n'; } >"$work/spread"
check "a list longer than the entry runs whole" "$(gen --count 20 --list-text $'10011\n0001' | values)" \
  "$(gen --count 20 --list "$work/spread" | values)"
head -c 2699 /dev/zero | tr '\0' '1' >"$work/full"
gen --list "$work/full" >/dev/null; check "a full slot is taken (and rejected as a list)" 1 "$?"
gen --list "$work/list" --list-text x >/dev/null; check "both list options" 2 "$?"
gen >/dev/null; check "no list" 2 "$?"
gen --mode triple --list-text "$two" >/dev/null; check "unknown mode" 2 "$?"

# Correlation.
out=$("$cli" correlate --list-text "$two" 2>"$work/err"); rc=$?
check "correlate lines" 18 "$(echo "$out" | wc -l)"
check "correlate r" "-1 3 3 -1 7 -5 3 -1 7 3 -5 -1 -1 -5 -5" "$(echo "$out" | sed -n 's/^dt=[0-9]*, r= //p' | values)"
check "correlate end" "Completed. sum|r+1| = 48" "$(echo "$out" | tail -n 1)"
check "correlate status" "Completed. sum|r+1| = 48" "$(cat "$work/err")"
check "correlate exit" 0 "$rc"
check "correlate self" "Completed. sum|r+1| = 16" "$("$cli" correlate --list-text $'10011\n1\n10011\n1' 2>/dev/null | tail -n 1)"
"$cli" correlate --list-text $'10011\n1\n100101\n1' >"$work/out" 2>/dev/null; rc=$?
check "different degrees exit" 1 "$rc"
check "different degrees log nothing" "" "$(cat "$work/out")"

# Preferred pairs: both jobs log.
out=$("$cli" pairs --from 10000011 2>"$work/err"); rc=$?
check "pairs 7 search end" "Finished. found=18" "$(echo "$out" | sed -n 20p)"
check "pairs 7 header" "Seaching for Preferred pair Tapwell. n=7, No. of polynominal=18" "$(echo "$out" | sed -n 21p)"
check "pairs 7 end" "Completed. found = 90" "$(echo "$out" | tail -n 1)"
check "pairs 7 status" $'Finished. found=18\nCompleted. found = 90' "$(cat "$work/err")"
check "pairs 7 exit" 0 "$rc"
check "pairs 5 count 5" "100101, 101111|100101, 110111|100101, 111011|100101, 111101|101001, 101111|Completed. found = 5" \
  "$("$cli" pairs --from 100101 --count 5 2>/dev/null | tail -n 6 | paste -sd'|')"
check "pairs 4" "Completed. found = 0" "$("$cli" pairs --from 10011 2>/dev/null | tail -n 1)"
"$cli" pairs --from 10011 --search-count 1 >"$work/out" 2>"$work/err"; rc=$?
check "one polynomial: pair search rejected" 1 "$rc"
check "one polynomial: search logged only" $'n=4, from=10011\n10011\nFinished. found=1' "$(cat "$work/out")"
"$cli" pairs --from 101 >"$work/out" 2>"$work/err"; rc=$?
check "bad start: search rejected" 1 "$rc"
check "bad start: no pair search" "" "$(cat "$work/out")"
check "bad start: rejected once" "Invalid parameter" "$(cat "$work/err")"

# Ctrl-C is Abort in each job: the abort text ends the log and the status; exit 130.
deg20=100000000000000001001
interrupt() {  # interrupt NAME WAIT-FOR-REGEX EXPECTED-LAST-LINE-REGEX ARGS...
  local name=$1 started=$2 pattern=$3
  shift 3
  rm -f "$work/abort.log"
  "$cli" "$@" --log "$work/abort.log" 2>"$work/err" &
  local pid=$!
  # The log is buffered: wait for what a job's end or a full buffer has written.
  for _ in $(seq 1 200); do grep -q "$started" "$work/abort.log" 2>/dev/null && break; sleep 0.05; done
  sleep 0.3
  kill -INT $pid
  wait $pid
  check "$name interrupt exit" 130 "$?"
  local last
  last=$(tail -n 1 "$work/abort.log")
  check "$name abort text last" 1 "$(echo "$last" | grep -c "$pattern")"
  check "$name abort text on stderr" "$last" "$(tail -n 1 "$work/err")"
}
interrupt generate '^polynominal' '^aborted\.$' generate --count -1 --list-text "$deg20"$'\n1'
# Degree 26: seconds of transform and 2^26 lines (degree 20 ends before the Ctrl-C).
deg26=100000000000000000000001001
interrupt correlate '' '^aborted\.$' correlate --list-text "$deg26"$'\n1\n'"$deg26"$'\n1'
# Degree 26: pairs above the decimation tables' degree are stepped, minutes a pair.
interrupt pairs '^Finished' '^aborted\. found = [0-9]*$' pairs --from "$deg26" --search-count 40
# Ctrl-C in the search that comes first: no pair search after it.
deg32=100000000000000000000000000000011
interrupt "pairs in its search" '' '^aborted at [01]*, found=[0-9]*$' pairs --from "$deg32"
check "pairs in its search: no pair search" 0 "$(grep -c '^Seaching' "$work/abort.log")"

finish
