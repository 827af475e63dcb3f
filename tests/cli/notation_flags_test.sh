#!/usr/bin/env bash
# Ring: tests. The window's jobs with polynomials in other notations: the log
# is byte for byte the one of the window's own text; an endless search above
# degree 32 is refused before anything runs. And generate's presets and --invert.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

want=$("$cli" search --from 10011 2>/dev/null)
for form in "algebraic:x^4 + x + 1" "octal:23" "hex:0x13" "koopman:0x9" "decimal:19" "binary:10011"; do
  out=$("$cli" search --from "${form#*:}" --notation "${form%%:*}" 2>/dev/null)
  check "search --from in ${form%%:*}" "$want" "$out"
done
"$cli" search --from 'x^33 + x^13 + 1' --notation algebraic >"$work/out" 2>"$work/err"; rc=$?
# Above the window's degrees a search runs on 64-bit words, but a whole
# degree never ends: without a count or an end it is refused.
check "endless degree 33 refused" 1 "$rc"
check "endless degree 33 logs nothing" "" "$(cat "$work/out")"
check "endless degree 33 says why" 1 "$(grep -c 'degree 33 to the end of the degree never ends' "$work/err")"
"$cli" search --from 'x^4 + q' --notation algebraic 2>/dev/null; check "unreadable --from" 2 "$?"
check "pairs --from octal" "$("$cli" pairs --from 100000101 2>/dev/null)" "$("$cli" pairs --from 405 --notation octal 2>/dev/null)"

want=$("$cli" generate --mode gold --width 4 --count 20 --list-text $'10011\n0001\n11001\n0001' 2>/dev/null)
out=$("$cli" generate --mode gold --width 4 --count 20 --poly-notation algebraic \
  --list-text $'x^4+x+1\r\n0001\r\n1 + x^3 + x^4\r\n0001' 2>/dev/null)
check "generate --poly-notation" "$want" "$out"
want=$("$cli" correlate --list-text $'10000011\n1\n10001001\n1' 2>/dev/null)
check "correlate --poly-notation" "$want" "$("$cli" correlate --poly-notation hex --list-text $'0x83\n1\n0x89\n1' 2>/dev/null)"
"$cli" generate --poly-notation octal --list-text $'400000000000000000001\n1' >"$work/out" 2>"$work/err"; rc=$?
check "list above degree 32 refused" 2 "$rc"
check "list names the line" 1 "$(grep -c -- '--list-text, line 1: ' "$work/err")"
"$cli" correlate --poly-notation octal --list-text $'23\n1\n29\n1' 2>"$work/err"; rc=$?
check "list names the bad line" 1 "$(grep -c "line 3 (octal): '9' at position 2" "$work/err")"

# Presets run in their own mode; the GPS code of PRN 1 starts 1440 (octal).
out=$("$cli" generate --preset gps-ca-1 --count 10 2>/dev/null)
check "gps-ca-1 header" "polynominal_A=10010000001, initial=1111111111" "$(head -n 1 <<<"$out")"
check "gps-ca-1 first chips" 1100100000 "$(sed -n '3,12p' <<<"$out" | tr -d '\n')"
check "gps-ca-1 a whole period" 1026 "$("$cli" generate --preset gps-ca-1 2>/dev/null | wc -l)"
"$cli" generate --preset gps-ca-1 --mode serial 2>/dev/null; check "--preset chooses the mode" 2 "$?"

# --invert: the window's Gold mode with a rotating register of ones.
plain=$("$cli" generate --preset prbs15 --count 40 2>/dev/null | sed -n '2,41p' | tr -d '\n')
out=$("$cli" generate --preset prbs15 --count 40 --invert 2>/dev/null)
check "inverted header B" "polynominal_B=1000000000000001, initial=111111111111111" "$(sed -n 2p <<<"$out")"
check "inverted bits" "$(tr 01 10 <<<"$plain")" "$(sed -n '3,42p' <<<"$out" | tr -d '\n')"
plain=$("$cli" generate --list-text $'10011\n1' --width 4 --count 3 2>/dev/null | sed -n '2,4p')
out=$("$cli" generate --list-text $'10011\n1' --width 4 --count 3 --invert 2>/dev/null | sed -n '3,5p')
check "inverted words are 15 - the words" "$(while read -r v; do echo $((15 - v)); done <<<"$plain")" "$out"
"$cli" generate --preset gps-ca-1 --invert 2>/dev/null; check "--invert needs a serial run" 2 "$?"

# A DEL in what the commands read is named by its value, as other control bytes are.
del=$'\x7f'
refused_del() {  # refused_del NAME MESSAGE ARGS...
  local name=$1 message=$2
  shift 2
  "$cli" "$@" >/dev/null 2>"$work/err" </dev/null
  check "$name exit" 2 "$?"
  check "$name names DEL" "tapwell-cli: $message" "$(cat "$work/err")"
}
refused_del "describe DEL" "POLY (binary): byte 0x7f at position 3 is not a binary digit (0 or 1)" describe "10${del}1"
refused_del "list DEL" "--list-text, line 1 (algebraic): byte 0x7f at position 4 is not '+' between terms" \
  generate --poly-notation algebraic --list-text "x^4${del}+ x + 1"$'\n1'
refused_del "identify DEL" "--bits: byte 0x7f at position 4 (line 2, column 2) is not a bit: only 0, 1 and white space are read" \
  identify --bits $'1\n0'"${del}1"

finish
