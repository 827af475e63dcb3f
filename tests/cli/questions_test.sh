#!/usr/bin/env bash
# Ring: tests. tapwell-cli describe, identify and presets, run as a user
# would: their facts, their JSON, their refusals and exit statuses.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

fact() {  # fact KEY: the value of KEY in the facts on standard input
  sed -n "s/^$1: //p"
}

# The GPS G1 register: every notation of x^10 + x^3 + 1.
out=$("$cli" describe 'x^10+x^3+1' --notation algebraic); rc=$?
check "describe exit" 0 "$rc"
check "describe octal" 2011 "$(fact octal <<<"$out")"
check "describe hex" 0x409 "$(fact hex <<<"$out")"
check "describe koopman" 0x204 "$(fact koopman <<<"$out")"
check "describe decimal" 1033 "$(fact decimal <<<"$out")"
check "describe binary" 10000001001 "$(fact binary <<<"$out")"
check "describe reciprocal" 10010000001 "$(fact reciprocal <<<"$out")"
check "describe primitive" yes "$(fact primitive <<<"$out")"
check "describe order" 1023 "$(fact order <<<"$out")"
check "describe recurrence" "s[t+10] = s[t+3] + s[t]" "$(fact recurrence <<<"$out")"
check "describe stages of the reciprocal" 1 "$(fact connection_polynomial <<<"$out" | grep -c 'stages 7, 10 feed back')"
for n in binary octal hex koopman decimal algebraic; do
  text=$(fact "$n" <<<"$out")
  [ "$n" = algebraic ] && text=$(fact algebraic <<<"$out")
  again=$("$cli" describe "$text" --notation "$n" | fact binary)
  check "describe reads its own $n" 10000001001 "$again"
done

# The window's example, its registers' first bits: 10011 from state 1.
out=$("$cli" describe 10011)
check "fibonacci bits" 10001001101011110001001101011110 "$(fact fibonacci_output <<<"$out")"
check "galois mask" 0xc "$(fact galois_mask <<<"$out")"
gen=$("$cli" generate --list-text $'10011\n1' --count 32 2>/dev/null | sed -n '2,33p' | tr -d '\n')
check "the window's register gives describe's bits" "$(fact fibonacci_output <<<"$out")" "$gen"

# Reducible polynomials: factors and the order from state 1.
out=$("$cli" describe 'x^6 + x^5 + x^4 + x^3 + x^2 + x + 1' --notation algebraic)  # (x^3+x+1)(x^3+x^2+1)
check "reducible" no "$(fact irreducible <<<"$out")"
check "reducible factors" "(x^3 + x + 1) (x^3 + x^2 + 1)" "$(fact factors <<<"$out")"
check "reducible order" 7 "$(fact order <<<"$out")"
out=$("$cli" describe 'x^64 + x^4 + x^3 + x + 1' --notation algebraic --json)
check "json degree 64" 1 "$(grep -c '"primitive": true, "order": 18446744073709551615' <<<"$out")"
for key in algebraic degree weight binary octal hex koopman decimal reciprocal irreducible primitive order recurrence; do
  check "json key $key" 1 "$(grep -c "\"$key\": " <<<"$out")"
done

# Refusals: in words, with the position; exit 2.
"$cli" describe 10010 2>"$work/err"; rc=$?
check "constant term 0 exit" 2 "$rc"
check "constant term 0 reason" 1 "$(grep -c 'constant term is 0' "$work/err")"
"$cli" describe 'x^4 + y' --notation algebraic 2>"$work/err"; rc=$?
check "bad character exit" 2 "$rc"
check "bad character named" "tapwell-cli: POLY (algebraic): 'y' at position 7 is not a term: expected x, X or 1" "$(cat "$work/err")"
"$cli" describe 10011 --notation ternary 2>/dev/null; check "unknown notation" 2 "$?"

# identify: a register of the window from 2L bits, and its initial value.
out=$("$cli" identify --bits "1000 1001 1010 111"); rc=$?
check "identify exit" 0 "$rc"
check "identify L" 4 "$(fact linear_complexity <<<"$out")"
check "identify polynomial" 10011 "$(fact polynomial <<<"$out")"
check "identify initial" 0001 "$(fact initial_state <<<"$out")"
check "identify m-sequence" yes "$(fact m_sequence <<<"$out")"
gen=$("$cli" generate --list-text $'10011\n0001' --count 15 2>/dev/null | sed -n '2,16p' | tr -d '\n')
check "the window reproduces the input" 100010011010111 "$gen"
# A GPS code: two registers of degree 10, the product polynomial of degree 20.
"$cli" generate --preset gps-ca-7 2>/dev/null | sed -n '3,1025p' >"$work/ca"
out=$("$cli" identify --bits-file "$work/ca" --json)
check "gold code L" 1 "$(grep -c '"linear_complexity": 20' <<<"$out")"
check "gold code not an m-sequence" 1 "$(grep -c '"m_sequence": false' <<<"$out")"
out=$("$cli" identify --bits 0001 2>"$work/err")
check "short input warned" 1 "$(grep -c 'warning: 4 bits are fewer than 2L = 8' "$work/err")"
check "short input not unique" no "$(fact unique <<<"$out")"
"$cli" identify --bits $'01\n0a1' 2>"$work/err"; rc=$?
check "identify refuses" 2 "$rc"
check "identify names the position" 1 "$(grep -c "'a' at position 5 (line 2, column 2)" "$work/err")"
"$cli" identify --bits-file "$work/none" 2>/dev/null; check "missing bits file" 2 "$?"
printf '1111' | "$cli" identify --bits-file - | fact linear_complexity >"$work/l"
check "bits from standard input" 1 "$(cat "$work/l")"

# presets
# PRBS and GPS, then the other standards' 10 registers and 37 BeiDou codes.
check "presets listed" 87 "$("$cli" presets | wc -l)"
out=$("$cli" presets prbs23)
check "prbs23 mode" serial "$(fact mode <<<"$out")"
check "prbs23 inverted" yes "$(fact inverted <<<"$out")"
check "prbs23 list" $'100000000000000000100001\n11111111111111111111111' "$(sed -n '/^list:$/,$p' <<<"$out" | tail -n +2)"
check "gps mode" gold "$(fact mode <<<"$("$cli" presets gps-ca-32)")"
"$cli" presets prbs8 2>/dev/null; check "unknown preset" 2 "$?"

# identify at the edge of uniqueness: 2L bits fix the register of length L,
# one bit fewer leaves another of the same length possible (and says so).
while read -r bits l unique json; do
  out=$("$cli" identify --bits "$bits" 2>"$work/err" </dev/null)
  check "identify $bits L" "$l" "$(fact linear_complexity <<<"$out")"
  check "identify $bits unique" "$unique" "$(fact unique <<<"$out")"
  if [ "$unique" = yes ]; then
    check "identify $bits no warning" "" "$(cat "$work/err")"
  else
    check "identify $bits warned" "tapwell-cli: warning: ${#bits} bits are fewer than 2L = $((2 * l)); another register of the same length may produce them too" "$(cat "$work/err")"
  fi
  check "identify $bits json unique" 1 "$("$cli" identify --bits "$bits" --json 2>/dev/null </dev/null | grep -c "\"unique\": $json,")"
done <<'CASES'
100101 3 yes true
10010 3 no false
10001001 4 yes true
1000100 4 no false
11 1 yes true
1 1 no false
CASES

finish
