#!/usr/bin/env bash
# Ring: tests. tapwell-cli hdl run as a user would: the refusals with their
# exit statuses, --output written whole or not at all (a refused run leaves
# the old file as it was, nothing half-written beside it), the facts and
# their JSON, and a preset's conventions in the module's header.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

# Each refusal: the exit status and a word of the message.
while IFS='|' read -r want words args; do
  [ -n "$want" ] || continue
  # shellcheck disable=SC2086
  err=$("$cli" hdl $args 2>&1 >/dev/null); rc=$?
  check "hdl $args: status" "$want" "$rc"
  check "hdl $args: words" yes "$(grep -q -- "$words" <<<"$err" && echo yes || echo "no: $err")"
done <<'EOF_CASES'
1|outside 1 to 1024|--poly 10011 --width 0
1|outside 1 to 1024|--poly 10011 --width 1025
1|reserved word in Verilog|--poly 10011 --name module
1|reserved word in VHDL|--poly 10011 --name Signal --language vhdl
1|no identifier|--poly 10011 --name 9lives
1|1 to 100000 words|--poly 10011 --testbench --words 100001
1|at most 16777216 bits|--poly 10011 --width 1024 --testbench --words 20000
1|more than 64|--gold 1000000000000000000010000000000001 1000000000000100000000000000000001 --checker
1|Verilog and VHDL|--poly 10011 --language c --checker
1|no preset named|--preset prbs8
1|not primitive|--gold 100001
1|divisible by 4|--gold 100011101
2|give one of|--width 8
2|give one of|--poly 10011 --preset prbs9
2|go together|--poly 10011 --testbench
2|is no state|--poly 10011 --state 10001
2|is no state|--poly 10011 --state 2
2|written to --output|--poly 10011 --json
2|binary|--poly 10021
EOF_CASES

# A refused run leaves the old file alone; a good one replaces it whole.
file=$work/gen.v
echo old >"$file"
"$cli" hdl --poly 10011 --width 2000 --output "$file" 2>/dev/null
check "refused: old file kept" old "$(cat "$file")"
check "refused: nothing beside it" "gen.v" "$(ls "$work")"
json=$("$cli" hdl --preset prbs31 --width 64 --output "$file" --json); rc=$?
check "written: status" 0 "$rc"
check "written: facts" '{"output": "'"$file"'", "module": "tapwell_lfsr", "width": 64, "bytes": '"$(wc -c <"$file")"', "xors": 77, "depth": 2, "inverted": true}' "$json"
check "written: whole" "endmodule" "$(tail -n 1 "$file")"
check "written: nothing beside it" "gen.v" "$(ls "$work")"
"$cli" hdl --poly 10011 --output "$work/no/such/dir/gen.v" 2>/dev/null
check "unwritable: status" 2 "$?"

# The header states the register, its form, the seed and the bit order.
head=$("$cli" hdl --preset prbs31 --width 64 --style chained --bit-order msb | head -n 8)
check "header: polynomial" yes "$(grep -q 'polynomial 10000000000000000000000000001001 (x^31 + x^3 + 1), fibonacci form, seed 1111111111111111111111111111111' <<<"$head" && echo yes)"
check "header: inverted" yes "$(grep -q 'data_out is the output inverted' <<<"$head" && echo yes)"
check "header: bit order" yes "$(grep -q 'data_out\[63\] is the first bit in time' <<<"$head" && echo yes)"
check "header: style" yes "$(grep -q 'style chained' <<<"$head" && echo yes)"

# The checker's facts name it and its lock.
facts=$("$cli" hdl --poly 1000010001 --width 4 --checker --output "$work/c.v")
check "checker: module" "tapwell_lfsr_checker" "$(sed -n 's/^module: //p' <<<"$facts")"
check "checker: lock words" 6 "$(sed -n 's/^lock_words: //p' <<<"$facts")"

# --gold A alone takes A's first Gold partner as B.
facts=$("$cli" hdl --gold 100101 --output "$work/g.v")
check "gold partner" 101111 "$(sed -n 's/^polynomial_b: //p' <<<"$facts")"

finish
