# Ring: tests. A few helpers for the shell tests of tapwell-cli.
# Each check prints its name on failure; the file ends with "N passed, N failed".
passed=0
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAILED: %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
  fi
}

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

interrupted_check() {  # interrupted_check NAME SECONDS COMMAND...: Ctrl-C after SECONDS ends it with 130
  local name=$1 seconds=$2
  shift 2
  "$@" >/dev/null 2>"$work/interrupted.err" &
  local pid=$!
  sleep "$seconds"
  kill -INT "$pid"
  wait "$pid"
  check "$name exit" 130 "$?"
  check "$name says so" "tapwell-cli: interrupted" "$(cat "$work/interrupted.err")"
}
