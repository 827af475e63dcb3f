#!/usr/bin/env bash
# Ring: tests. tapwell-cli killed with SIGKILL at random moments while a
# generation, a search or a correlation writes its log: whatever the moment,
# the file ends on a line end and holds only whole lines.
set -u
cli=$1
. "$(dirname "$0")/cli_testlib.sh"

deg32=100000000000000000000000000000011
deg26=100000000000000000000001001

# kill_after DELAY ARGS...: runs tapwell-cli, kills it after DELAY seconds and
# waits until every process that holds its standard error (the log's keeper
# among them) has let go, so that nothing more can reach the log.
kill_after() {
  local delay=$1
  shift
  rm -f "$work/released"
  "$cli" "$@" 2> >(cat >/dev/null; : >"$work/released") &
  local pid=$!
  sleep "$delay"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  for _ in $(seq 1 400); do [ -e "$work/released" ] && break; sleep 0.05; done
}

# whole_lines NAME FILE PATTERN: the file ends on a line end and every line
# matches PATTERN. An empty file (killed before the first block) is whole too,
# but counted, so that the kills are known to have hit a log being written.
written=0
whole_lines() {
  local name=$1 file=$2 pattern=$3
  if [ -s "$file" ]; then
    written=$((written + 1))
    check "$name: ends on a line end" "" "$(tail -c 1 "$file" | tr -d '\n')"
    check "$name: only whole lines" 0 "$(LC_ALL=C grep -cvE "$pattern" "$file")"
  fi
  rm -f "$file"
}

random_delay() { printf '0.%02d' $((5 + RANDOM % 55)); }

kills=4
header='^polynominal=1[01]*, initial=1$'
for width in 1 32; do
  for i in $(seq 1 $kills); do
    d=$(random_delay)
    kill_after "$d" generate --width $width --count 0 --list-text "$deg32"$'\n1' --log "$work/gen.log"
    whole_lines "generation width $width killed after ${d}s" "$work/gen.log" "$header|^[0-9]+$"
  done
done
for i in $(seq 1 $kills); do
  d=$(random_delay)
  kill_after "$d" search --from 100000000000000000000000000000001 --log "$work/search.log"
  whole_lines "search killed after ${d}s" "$work/search.log" '^n=32, from=1[01]{32}$|^1[01]{31}1$'
done
for i in $(seq 1 $kills); do
  d=$(random_delay)
  kill_after "$d" correlate --list-text "$deg26"$'\n1\n'"$deg26"$'\n1' --log "$work/corr.log"
  whole_lines "correlation killed after ${d}s" "$work/corr.log" '^polynominal_[AB]=1[01]*$|^dt=[0-9]+, r= -?[0-9]+$'
done
# The log on standard output, redirected to a file.
for i in 1 2; do
  d=$(random_delay)
  kill_after "$d" generate --width 1 --count 0 --list-text "$deg32"$'\n1' >"$work/out.log"
  whole_lines "generation to standard output killed after ${d}s" "$work/out.log" "$header|^[0-9]+$"
done
# A kill that never hits a log being written tests nothing; on a busy machine
# some come before the first block.
check "kills that hit a log being written (of $((4 * kills + 2)))" yes "$([ $written -ge $kills ] && echo yes || echo "no: $written")"

finish
