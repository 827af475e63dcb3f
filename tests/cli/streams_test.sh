#!/usr/bin/env bash
# Ring: tests. tapwell-cli sequence and presets of the standards' registers:
# the formats agree with each other, a file is written whole or not at all,
# refusals carry the documented exit statuses, presets print their facts.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

status() { "$@" >/dev/null 2>&1; echo $?; }

# The window's example register in every text format.
check "bits" "100010011010111" "$("$cli" sequence --poly 10011)"
check "bipolar" "-1 +1 +1 +1 -1" "$("$cli" sequence --poly 10011 --length 5 --format bipolar)"
check "hex msb" "89af" "$("$cli" sequence --poly 10011 --length 16 --format hex)"
check "hex lsb" "91f5" "$("$cli" sequence --poly 10011 --length 16 --format hex --bit-order lsb)"
check "skip" "0100" "$("$cli" sequence --poly 10011 --skip 3 --length 4)"
check "galois state" "$("$cli" sequence --poly x^4+x+1 --notation algebraic --form galois --state 0x9 --length 30)" \
  "$("$cli" sequence --poly 10011 --form galois --state 1001 --length 30)"

# Packed bytes are the hex digits, at degree 64 and far into the sequence.
"$cli" sequence --poly 'x^64+x^4+x^3+x+1' --notation algebraic --skip 1000000000000 --length 4096 \
  --format packed --output "$work/p.bin" >/dev/null
check "packed is hex" "$("$cli" sequence --poly 'x^64+x^4+x^3+x+1' --notation algebraic --skip 1000000000000 \
  --length 4096 --format hex)" "$(od -An -tx1 -v "$work/p.bin" | tr -d ' \n')"
check "packed facts" "length: 4096" "$("$cli" sequence --poly 111 --length 4096 --format packed \
  --output "$work/q.bin" | grep '^length')"
check "json facts" '"bytes": 512' "$("$cli" sequence --poly 111 --length 4096 --format packed \
  --output "$work/q.bin" --json | grep -o '"bytes": 512')"

# --json to standard output: the facts and the stream itself, in every format
# the same as without it (packed bytes as their hex digits).
data_of() {
  /usr/bin/python3 -c 'import json, sys
d = json.load(sys.stdin)["data"]
print(d if isinstance(d, str) else " ".join("%+d" % v for v in d))'
}
for format in bits hex packed bipolar; do
  plain=$format
  [ "$format" = packed ] && plain=hex
  check "json data $format" "$("$cli" sequence --preset ccsds-tm-131071 --skip 99 --length 200 --format $plain)" \
    "$("$cli" sequence --preset ccsds-tm-131071 --skip 99 --length 200 --format $format --json | data_of)"
done
check "json data empty" "" "$("$cli" sequence --poly 10011 --length 0 --format bipolar --json | data_of)"

# A Gold code is the sum of its two registers.
a=$("$cli" sequence --poly 10000001001 --state 1111111111 --length 64 --format hex)
b=$("$cli" sequence --poly 10110100111 --state 0000000011 --length 64 --format hex)
gold=$("$cli" sequence --poly 10000001001 --state 1111111111 --poly 10110100111 --state 0000000011 \
  --length 64 --format hex)
check "gold" "$(printf '%016x' $((0x$a ^ 0x$b)))" "$gold"

# Refusals: parameters 1, what cannot be read or written 2; no file left.
check "endless period" 1 "$(status "$cli" sequence --poly 'x^64+x^4+x^3+x+1' --notation algebraic)"
check "state too wide" 1 "$(status "$cli" sequence --poly 111 --state 0x7)"
check "zero state" 1 "$(status "$cli" sequence --poly 111 --state 00)"
check "length not held" 1 "$(status "$cli" sequence --poly 111 --length 18446744073709551615 --format bipolar)"
check "channel range" 1 "$(status "$cli" sequence --preset ble-whitening --channel 40)"
check "c-init range" 1 "$(status "$cli" sequence --preset 3gpp-c --c-init 2147483648)"
check "parameter of another" 2 "$(status "$cli" sequence --preset dvb-energy --seed 3)"
check "bad state text" 2 "$(status "$cli" sequence --poly 111 --state 12)"
check "bad polynomial" 2 "$(status "$cli" sequence --poly 1102)"
check "unwritable" 2 "$(status "$cli" sequence --poly 111 --output "$work/missing/x.bin")"
check "no temporary left" "" "$(ls "$work/missing" 2>/dev/null; ls "$work" | grep tmp)"

# Ctrl-C ends a long stream with 130 and leaves neither the file nor a temporary.
mkdir "$work/int"
"$cli" sequence --poly 'x^64+x^4+x^3+x+1' --notation algebraic --length 400000000000 --format packed \
  --output "$work/int/big.bin" 2>/dev/null &
pid=$!
sleep 1
kill -INT $pid
wait $pid
check "interrupted" 130 "$?"
check "nothing left after Ctrl-C" "" "$(ls "$work/int")"

# The presets' facts, and the standards' check values through the console.
check "wifi first bits" "first_bits: 00001110111100101100100100000010" \
  "$("$cli" presets wifi-scrambler | grep '^first_bits')"
check "ccsds 40 bits" "1111111101001000000011101100000010011010" \
  "$("$cli" sequence --preset ccsds-tm-255 --length 40)"
check "beidou length" 2046 "$("$cli" sequence --preset beidou-b1i-7 | tr -d '\n' | wc -c)"
check "ble channel" '"parameter_value": 23' "$("$cli" presets ble-whitening --channel 23 --json | grep -o '"parameter_value": 23')"
check "old presets unchanged" "mode: serial" "$("$cli" presets prbs9 | sed -n 2p)"

# scramble: descrambling gives the file back; a self-synchronous descrambler
# from another seed differs only in the first 58 bits.
head -c 20000 /dev/urandom >"$work/in.bin"
for args in "--preset scrambler-64b66b" "--preset wifi-scrambler --seed 93" "--preset 3gpp-c --c-init 77 --bit-order lsb" \
  "--poly x^41+x^3+1 --notation algebraic --state 0x1234567 --kind multiplicative"; do
  # shellcheck disable=SC2086
  "$cli" scramble $args --input "$work/in.bin" --output "$work/s.bin" --quiet
  # shellcheck disable=SC2086
  "$cli" scramble $args --descramble --input "$work/s.bin" --output "$work/d.bin" --quiet
  check "round trip $args" "" "$(cmp "$work/in.bin" "$work/d.bin" 2>&1)"
done
"$cli" scramble --preset scrambler-64b66b --input "$work/in.bin" --output "$work/s.bin" --quiet
"$cli" scramble --preset scrambler-64b66b --seed 5 --descramble --input "$work/s.bin" --output "$work/d.bin" --quiet
check "locks after 58 bits" "$(tail -c +9 "$work/in.bin" | od -An -tx1 | md5sum)" "$(tail -c +9 "$work/d.bin" | od -An -tx1 | md5sum)"
check "scramble facts" '"kind": "multiplicative"' "$("$cli" scramble --preset scrambler-64b66b --input "$work/in.bin" \
  --output "$work/s.bin" --json | grep -o '"kind": "multiplicative"')"
check "missing input" 2 "$(status "$cli" scramble --preset wifi-scrambler --input "$work/none" --output "$work/x")"
check "no output on failure" "" "$(ls "$work/x" 2>/dev/null)"

finish
