#!/usr/bin/env bash
# Ring: tests. tapwell-cli partner and check-pair, run as a user would: the
# partners of small and large degrees, their JSON, a pair's values, the
# refusals with their exit statuses, and Ctrl-C.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

fact() { sed -n "s/^$1: //p"; }

# Degree 5: the four partners of 100101, as the pair search finds them.
out=$("$cli" partner 100101); rc=$?
check "partner exit" 0 "$rc"
check "partner count" 4 "$(fact partners <<<"$out")"
check "partner lines" "partner: 101111 decimation=7 family=Gold known=verified
partner: 110111 decimation=5 family=Gold known=verified
partner: 111011 decimation=13 family=Kasami known=verified
partner: 111101 decimation=3 family=Gold known=verified" "$(grep '^partner:' <<<"$out")"
pairs=$("$cli" pairs --from 100001 2>/dev/null | grep -c '^100101, ')
check "the pair search agrees" 4 "$pairs"
check "exhaustive says complete" "yes: every decimation was examined" \
  "$("$cli" partner 100101 --exhaustive | fact complete)"

json=$("$cli" partner 'x^5 + x^2 + 1' --notation algebraic --json)
check "json list" '[{"polynomial": "101111", "decimation": 7, "family": "Gold", "known": "verified"}, {"polynomial": "110111", "decimation": 5, "family": "Gold", "known": "verified"}, {"polynomial": "111011", "decimation": 13, "family": "Kasami", "known": "verified"}, {"polynomial": "111101", "decimation": 3, "family": "Gold", "known": "verified"}]' "$json"

# Degree 31 and 34: by theorem; every partner line names a Gold or Kasami family.
out=$("$cli" partner 'x^31 + x^3 + 1' --notation algebraic); rc=$?
check "degree 31 exit" 0 "$rc"
check "degree 31 by theorem" "$(fact partners <<<"$out")" "$(grep -c 'known=by theorem$' <<<"$out")"
check "degree 31 families" 0 "$(grep '^partner:' <<<"$out" | grep -cv 'family=Gold\|family=Kasami')"
out=$("$cli" partner 'x^34 + x^27 + x^2 + x + 1' --notation algebraic)
check "degree 34 Gold 5" 1 "$(grep -c 'decimation=5 family=Gold known=by theorem' <<<"$out")"

# check-pair: a preferred pair, and a polynomial against its reciprocal.
out=$("$cli" check-pair 100101 101111); rc=$?
check "check-pair exit" 0 "$rc"
check "check-pair preferred" yes "$(fact preferred <<<"$out")"
check "check-pair values" "-9 x 6, -1 x 15, 7 x 10" "$(fact values <<<"$out")"
out=$("$cli" check-pair 100101 101001 --json); rc=$?
check "check-pair not preferred exit" 0 "$rc"
check "check-pair json" 1 "$(grep -c '"preferred": false, "preferred_values": \["-9", "-1", "7"\], "values": \[{"value": -9, "count": 5}' <<<"$out")"

# Refusals: in words, exit 1 for what the command does not take, 2 for input it cannot read.
refusal() {  # refusal NAME STATUS TEXT ARGS...
  local name=$1 status=$2 text=$3
  shift 3
  "$cli" "$@" >/dev/null 2>"$work/err"
  check "$name exit" "$status" "$?"
  check "$name reason" 1 "$(grep -c -- "$text" "$work/err")"
}
refusal "not primitive" 1 "is not primitive" partner 'x^31 + x^2 + 1' --notation algebraic
refusal "divisible by 4" 1 "divisible by 4: no preferred pair exists" partner 'x^20 + x^3 + 1' --notation algebraic
refusal "degree below 5" 1 "this takes degrees 5 to 64" partner 1011
refusal "above 64" 2 "POLY (algebraic)" partner 'x^65 + x + 1' --notation algebraic
refusal "exhaustive above 20" 1 "up to degree 20" partner 'x^21 + x^2 + 1' --notation algebraic --exhaustive
refusal "unequal degrees" 1 "A has degree 5 and B degree 6" check-pair 100101 1000011
refusal "check-pair above 32" 1 "this takes degrees 3 to 32" check-pair 'x^33 + x^13 + 1' 'x^33 + x^13 + 1' --notation algebraic
refusal "check-pair not primitive" 1 "B: x^5 + 1 is not primitive" check-pair 100101 100001
refusal "unreadable" 2 "A (binary)" check-pair 1002 100101

# Ctrl-C: a verification at degree 27 stops at once with status 130.
"$cli" partner 'x^27 + x^5 + x^2 + x + 1' --notation algebraic >/dev/null 2>"$work/err" &
pid=$!
sleep 1
kill -INT "$pid"
wait "$pid"
check "interrupted exit" 130 "$?"
check "interrupted says so" "tapwell-cli: interrupted" "$(cat "$work/err")"

finish
