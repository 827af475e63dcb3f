#!/usr/bin/env bash
# Ring: tests. tapwell-cli family, run as a user would: the GPS codes' worst
# case, a Kasami set against its values, the JSON keys, files of codes with
# their faults named by line and column, the refusals with their exit
# statuses, and Ctrl-C.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

fact() { sed -n "s/^$1: //p"; }
# The sum of the counts of a histogram line "v x c, v x c, ...".
counted() { tr ',' '\n' | awk '{ s += $3 } END { print s }'; }

presets=()
for prn in $(seq 1 32); do presets+=(--preset "gps-ca-$prn"); done
out=$("$cli" family "${presets[@]}" --quiet); rc=$?
check "gps exit" 0 "$rc"
check "gps peak" 65 "$(fact peak_cross_correlation <<<"$out" | cut -d' ' -f1)"
check "gps histogram counts every pair and phase" $((496 * 1023)) "$(fact histogram <<<"$out" | counted)"
check "gps within the Gold values" 1 "$(fact bound <<<"$out" | grep -c 'family values -65, -1, 63 (peak 65), every value among them')"

json=$("$cli" family --kasami-small 1000011 --json --odd --quiet); rc=$?
check "kasami json exit" 0 "$rc"
for key in codes length peak_cross_correlation peak_autocorrelation histogram bound odd_histogram; do
  check "json key $key" 1 "$(grep -c "\"$key\": " <<<"$json")"
done
check "kasami json values" 1 "$(grep -c '"histogram": \[{"value": -9, "count": [0-9]*}, {"value": -1, "count": [0-9]*}, {"value": 7, "count": [0-9]*}\]' <<<"$json")"
check "kasami codes" 1 "$(grep -c '"codes": 8, "length": 63' <<<"$json")"

# A file: a comment, CR LF line ends and a blank line; the same codes as
# presets give the same report.
{
  echo "# two codes"
  printf '%s\r\n' 1100 0110
  echo
  echo 1011
} >"$work/codes.txt"
out=$("$cli" family --codes "$work/codes.txt" --quiet); rc=$?
check "file exit" 0 "$rc"
check "file codes" 3 "$(fact codes <<<"$out")"
check "file histogram counts" 12 "$(fact histogram <<<"$out" | counted)"

# Faults of a file: named by line and column, exit status 2.
printf '0110\n0110\n01x0\n' >"$work/bad.txt"
"$cli" family --codes "$work/bad.txt" >/dev/null 2>"$work/err"
check "non-binary exit" 2 "$?"
check "non-binary words" "tapwell-cli: $work/bad.txt: line 3, column 3: 'x' is not a chip (0 or 1)" "$(cat "$work/err")"
printf '0110\n\n011\n' >"$work/short.txt"
"$cli" family --codes "$work/short.txt" >/dev/null 2>"$work/err"
check "unequal exit" 2 "$?"
check "unequal words" "tapwell-cli: $work/short.txt: line 3 has 3 chips and line 1 4: the codes of a file have one length" "$(cat "$work/err")"
printf '0110\n' >"$work/one.txt"
"$cli" family --codes "$work/one.txt" >/dev/null 2>"$work/err"
check "one code exit" 1 "$?"

# BeiDou's codes are cut to 2046 chips: no Gold family's values are claimed.
out=$("$cli" family --preset beidou-b1i-1 --preset beidou-b1i-2 2>/dev/null)
check "beidou length" "length: 2046" "$(grep '^length:' <<<"$out")"
check "beidou no family values" 1 "$(grep -c 'not whole periods' <<<"$out")"

# Refusals of the parameters: exit status 1; two sources at once: 2.
"$cli" family --kasami-small 10000011 >/dev/null 2>"$work/err"
check "odd degree exit" 1 "$?"
check "odd degree words" 1 "$(grep -c 'a Kasami set takes an even degree' "$work/err")"
"$cli" family --kasami-large 100011101 >/dev/null 2>&1
check "large set degree exit" 1 "$?"
"$cli" family --preset gps-ca-1 --kasami-small 1000011 >/dev/null 2>&1
check "two sources exit" 2 "$?"
"$cli" family --preset gps-ca-99 >/dev/null 2>&1
check "unknown preset exit" 1 "$?"

# Ctrl-C: the small Kasami set of degree 16 stops at once with status 130.
interrupted_check "interrupted" 2 "$cli" family --kasami-small 'x^16 + x^5 + x^3 + x^2 + 1' --notation algebraic

finish
