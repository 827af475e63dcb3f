#!/usr/bin/env bash
# Ring: tests (hdl). The proof of tapwell-cli hdl in the tools engineers use:
# for each case of the matrix below, in both styles, the generator's
# testbench (10000 words of the library's own register_bits) in Icarus
# Verilog and GHDL, verilator --lint-only -Wall with no warning at all, and
# Yosys's synth with the cells, two-input XORs and XOR depth recorded beside
# those of the register unrolled W times (unrolled.py, synthesized the same
# way: XORs counted after synth -noabc, cells after the whole synth). It fails when a testbench does not print PASS, lint says anything,
# the chained style has more XORs than the unrolled register, or a trinomial
# case marked t (W up to n - k) is not exactly W XORs at depth 1.
#
#   run_hdl_matrix.sh TAPWELL-CLI [TABLE.md]   (TABLE.md: the size table)
#
# Two cases run at a time. Every case is simulated in Icarus Verilog, linted
# and synthesized in both styles; GHDL runs both styles of every case too
# except the three widest (W = 512, one style each, to keep the stage short).
set -uo pipefail
# A job of the matrix, run by xargs below: --one WORK CLI HERE CASE...
one_job=no
if [ "${1:-}" = --one ]; then
  one_job=yes work=$2 cli=$3 here=$4
  shift 4
fi
py=/usr/bin/python3
words=${TAPWELL_HDL_WORDS:-10000}

p33=1000000000000000000010000000000001
p41=100000000000000000000000000000000000001001
p58=10000000000000000000000000000000000000010000000000000000001
p63=1000000000000000000000000000000000000000000000000000000000000011
p64=10000000000000000000000000000000000000000000000000000000000011011
prbs31=10000000000000000000000000001001
# name | source options | W | flags | the unrolled reference's registers
# flags: t = a trinomial at W <= n - k; c = the checker, errors injected;
# 1 = GHDL in the flat style only (the widest cases, for time)
CASES="
d3|--poly 1011|1||1011:fibonacci
d7|--poly 10000011 --form galois|7||10000011:galois
prbs9|--preset prbs9|4|t|1000010001:fibonacci
d15|--poly 1000000000000011 --form galois|8|t|1000000000000011:galois
prbs23|--preset prbs23|32||100000000000000000100001:fibonacci
prbs31-28|--preset prbs31|28|t|$prbs31:fibonacci
prbs31|--preset prbs31|64||$prbs31:fibonacci
d33|--poly $p33 --form galois|100||$p33:galois
d41|--poly $p41|512|1|$p41:fibonacci
d58|--poly $p58 --form galois|64||$p58:galois
d63|--poly $p63 --form galois|512|1|$p63:galois
d64|--poly $p64|100||$p64:fibonacci
d64-512|--poly $p64 --form galois|512|1|$p64:galois
gps-ca-1|--preset gps-ca-1|8||10010000001:fibonacci 10110010111:fibonacci
gold5|--gold 100101 111101 --state 10101 --state-b 00111|32||100101:fibonacci 111101:fibonacci
prbs31-checker|--preset prbs31|64|c|
prbs31-checker-7|--preset prbs31|7|c|
prbs9-checker-1|--poly 1000010001 --form galois|1|c|
gold5-checker|--gold 100101 111101 --state 10101 --state-b 00111|8|c|
"

# One case in one style (or "unrolled"): prints "name style cells xors depth".
run_one() {
  local name=$1 source=$2 width=$3 flags=$4 registers=$5 style=$6
  local dir=$work/$name-$style log
  mkdir -p "$dir" && cd "$dir" || return 1
  log=$dir/log
  local top=$name
  top=${top//-/_}
  if [ "$style" = unrolled ]; then
    # shellcheck disable=SC2086
    "$py" "$here/unrolled.py" "$top" "$width" $registers >"$top.v" || return 1
  else
    local unit=()
    case $flags in *c*) unit=(--checker) top=${top}_checker ;; esac
    # shellcheck disable=SC2086
    "$cli" hdl $source --width "$width" --style "$style" --name "${name//-/_}" "${unit[@]}" >"$top.v" &&
      "$cli" hdl $source --width "$width" --style "$style" --name "${name//-/_}" "${unit[@]}" \
        --testbench --words "$words" >"${top}_tb.v" &&
      "$cli" hdl $source --width "$width" --style "$style" --name "${name//-/_}" "${unit[@]}" --language vhdl >"$top.vhd" &&
      "$cli" hdl $source --width "$width" --style "$style" --name "${name//-/_}" "${unit[@]}" --language vhdl \
        --testbench --words "$words" >"${top}_tb.vhd" || { echo "$name $style: tapwell-cli failed"; return 1; }
    if ! { iverilog -g2001 -o sim "$top.v" "${top}_tb.v" && vvp -n sim; } >iverilog.log 2>&1 ||
      ! grep -qx PASS iverilog.log; then
      echo "$name $style: Icarus Verilog did not pass"; tail -n 5 iverilog.log; return 1
    fi
    if [[ $flags != *1* || $style == flat ]]; then
      if ! { ghdl -a --std=08 "$top.vhd" "${top}_tb.vhd" && ghdl --elab-run --std=08 "${top}_tb"; } >ghdl.log 2>&1 ||
        ! grep -qx PASS ghdl.log; then
        echo "$name $style: GHDL did not pass"; tail -n 5 ghdl.log; return 1
      fi
    fi
    if ! verilator --lint-only -Wall "$top.v" >lint.log 2>&1 || [ -s lint.log ]; then
      echo "$name $style: verilator --lint-only -Wall said:"; head -n 10 lint.log; return 1
    fi
  fi
  # XORs and depth: synth without ABC, which leaves every XOR a $_XOR_ cell
  # of two inputs (identical ones merged) instead of remapping the logic for
  # its own cost; the cells: the whole synth.
  if ! yosys -q -p "read_verilog $top.v; synth -flatten -top $top -noabc; write_json xors.json" >yosys.log 2>&1 ||
    ! yosys -q -p "read_verilog $top.v; synth -flatten -top $top; write_json cells.json" >>yosys.log 2>&1; then
    echo "$name $style: Yosys failed"; tail -n 5 yosys.log; return 1
  fi
  local xors cells
  read -r _ xors <<<"$("$py" "$here/netlist_size.py" xors.json)"
  read -r cells _ <<<"$("$py" "$here/netlist_size.py" cells.json)"
  echo "$name $style $cells $xors" >"$work/result-$name-$style"
}

if [ "$one_job" = yes ]; then
  run_one "$@"
  exit
fi

cli=$(realpath "$1")
table=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=$work/jobs
: >"$jobs"
while IFS='|' read -r name source width flags registers; do
  [ -n "$name" ] || continue
  styles="flat chained"
  [[ $flags == *c* ]] || styles="$styles unrolled"
  for style in $styles; do
    printf '%s\0' --one "$work" "$cli" "$here" "$name" "$source" "$width" "$flags" "$registers" "$style" >>"$jobs"
  done
done <<<"$CASES"
# Ten arguments a job, two jobs at a time.
xargs -0 -n 10 -P 2 bash "$0" <"$jobs"
status=$?

rows="| case | W | flat XORs / depth | chained XORs / depth | unrolled XORs / depth | cells: flat, chained, unrolled |
|---|---|---|---|---|---|"
failed=0
[ "$status" -eq 0 ] || failed=1
while IFS='|' read -r name source width flags _; do
  [ -n "$name" ] || continue
  read -r _ _ fc fx fd <"$work/result-$name-flat" 2>/dev/null || { failed=1; continue; }
  read -r _ _ cc cx cd <"$work/result-$name-chained" 2>/dev/null || { failed=1; continue; }
  if [[ $flags == *c* ]]; then
    rows="$rows
| $name (checker, errors injected) | $width | $fx / $fd | $cx / $cd | | $fc, $cc |"
    continue
  fi
  read -r _ _ uc ux ud <"$work/result-$name-unrolled" 2>/dev/null || { failed=1; continue; }
  rows="$rows
| $name | $width | $fx / $fd | $cx / $cd | $ux / $ud | $fc, $cc, $uc |"
  if [ "$cx" -gt "$ux" ]; then
    echo "$name: chained has $cx XORs, the unrolled register $ux"; failed=1
  fi
  if [[ $flags == *t* ]] && ! [ "$fx $fd $cx $cd" = "$width 1 $width 1" ]; then
    echo "$name: a trinomial at W = $width must be $width XORs at depth 1 in both styles: flat $fx/$fd, chained $cx/$cd"
    failed=1
  fi
done <<<"$CASES"
echo "$rows"
[ -z "$table" ] || echo "$rows" >"$table"
[ "$failed" -eq 0 ] && echo "hdl matrix: every case passed" || echo "hdl matrix: FAILED"
[ "$failed" -eq 0 ]
