#!/usr/bin/env bash
# Ring: tests. tapwell-cli search beyond the window's job (--to, --terms,
# --degree, degrees to 64, --json) and primitive --min, run as a user would.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

finds() { grep -v -e '^n=' -e '^Finished' "$1"; }  # the lines between the headers

# Ranges logged one after the other hold exactly the finds of the whole range,
# across blocks and at the window's degrees too; the end itself is not tested.
for range in "1000000000000000000000000000000000000000111 1000000000000000000000000000000000000110001 1000000000000000000000000000000000011000001" \
             "100000000000000000011 100000000000001000001 100000000000100000001"; do
  set -- $range
  : >"$work/split.log"
  "$cli" search --from "$1" --to "$2" --log "$work/split.log" --quiet 2>/dev/null
  "$cli" search --from "$2" --to "$3" --log "$work/split.log" --quiet 2>/dev/null
  "$cli" search --from "$1" --to "$3" --quiet >"$work/whole.log" 2>/dev/null; rc=$?
  check "split of $1 is the whole" "$(finds "$work/whole.log")" "$(finds "$work/split.log")"
  check "split of $1 has finds" 1 "$([ "$(finds "$work/whole.log" | wc -l)" -gt 2 ] && echo 1)"
  check "split of $1 exit" 0 "$rc"
  check "headers and ends" 2 "$(grep -c '^n=' "$work/split.log")"
done
out=$("$cli" search --from 100101 --to 101001 2>/dev/null)
check "end not tested" $'n=5, from=100101\n100101\nFinished. found=1' "$out"

out=$("$cli" search --degree 7 --terms 3 2>"$work/err")
check "trinomials of degree 7" $'n=7, from=10000011\n10000011\n10001001\n10010001\n11000001\nFinished. found=4' "$out"
check "status on standard error" "Finished. found=4" "$(cat "$work/err")"
out=$("$cli" search --degree 64 --count 2 --notation koopman 2>/dev/null | tail -n 3)
check "degree 64 in the window's text" $'10000000000000000000000000000000000000000000000000000000000011011\n10000000000000000000000000000000000000000000000000000000000011101\nFinished. found=2' "$out"
out=$("$cli" search --from 800000000000000E --notation koopman --count 1 2>/dev/null | sed -n 2p)
check "--from in a notation" "10000000000000000000000000000000000000000000000000000000000011101" "$out"

out=$("$cli" search --degree 5 --terms 5 --json 2>/dev/null)
check "json" '{"degree": 5, "from": "101111", "to": null, "terms": 5, "count": 0, "found": 4, "polynomials": ["101111", "110111", "111011", "111101"]}' "$out"
out=$("$cli" search --from 100011 --to 110001 --json 2>/dev/null)
check "json with an end" '{"degree": 5, "from": "100011", "to": "110001", "terms": null, "count": 0, "found": 3, "polynomials": ["100101", "101001", "101111"]}' "$out"

# Refusals in words, exit 1, nothing logged; usage errors exit 2.
while IFS='|' read -r args words; do
  out=$(eval "\"$cli\" search $args" 2>"$work/err"); rc=$?
  check "refused: $args" 1 "$rc"
  check "refused logs nothing: $args" "" "$out"
  check "refusal words: $args" 1 "$(grep -c -F -e "$words" "$work/err")"
done <<'CASES'
--degree 40|a search of degree 40 to the end of the degree never ends
--degree 20 --terms 4|terms: 4 is even
--degree 20 --terms 23|has 3 to 21 non-zero terms
--from 100011 --to 100001|to: x^5 + 1 is not a candidate of degree 5
--degree 65|--degree 65: the search takes degrees 3 to 64
CASES
"$cli" search --from 1011 --degree 3 2>/dev/null; check "--from and --degree" 2 "$?"
"$cli" search --from 1011 --to 10z1 2>/dev/null; check "unreadable --to" 2 "$?"
"$cli" search --degree 5 --to 10000011 2>/dev/null; check "--to of another degree" 1 "$?"

while IFS='|' read -r degree line; do
  check "primitive --min $degree" "$line" "$("$cli" primitive --min "$degree" | sed -n 2p)"
done <<'CASES'
2|algebraic: x^2 + x + 1
8|algebraic: x^8 + x^4 + x^3 + x^2 + 1
33|algebraic: x^33 + x^13 + 1
64|algebraic: x^64 + x^4 + x^3 + x + 1
CASES
out=$("$cli" primitive --min 4 --json)
check "primitive --json" '{"polynomial": "10011", "algebraic": "x^4 + x + 1", "degree": 4, "terms": 3, "order": "first of the fewest terms in the window'"'"'s order (increasing value)"}' "$out"
"$cli" primitive --min 1 2>"$work/err"; rc=$?
check "primitive --min 1 exit" 1 "$rc"
check "primitive --min 1 words" 1 "$(grep -c "takes degrees 2 to 64" "$work/err")"

# Ctrl-C: the abort line names where to start again, exit 130.
"$cli" search --degree 64 --count 100000000 --log "$work/abort.log" 2>"$work/err" &
pid=$!
for _ in $(seq 1 100); do [ "$( (wc -l <"$work/abort.log") 2>/dev/null || echo 0)" -gt 1 ] && break; sleep 0.05; done
kill -INT $pid
wait $pid; rc=$?
check "interrupt exit" 130 "$rc"
last=$(tail -n 1 "$work/abort.log")
check "abort line last in log" 1 "$(echo "$last" | grep -c '^aborted at 1[01]*, found=[0-9]*$')"
check "abort line on stderr" 1 "$(grep -c -F "$last" "$work/err")"
# Started again from there, it neither repeats nor skips a find.
from=$(echo "$last" | sed 's/^aborted at \([01]*\),.*/\1/')
found=$(echo "$last" | sed 's/.*found=//')
"$cli" search --from "$from" --count 3 --quiet >"$work/again.log" 2>/dev/null
"$cli" search --degree 64 --count $((found + 3)) --quiet >"$work/once.log" 2>/dev/null
check "resumed search" "$(finds "$work/once.log")" "$( (finds "$work/abort.log" | grep -v '^aborted'; finds "$work/again.log") )"

finish
