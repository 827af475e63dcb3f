#!/usr/bin/env bash
# Builds and runs every test: the unit and console tests natively, again under
# AddressSanitizer + UndefinedBehaviorSanitizer, the threaded ones under
# ThreadSanitizer, the fuzz targets for a bounded time, the Windows program
# end to end under Wine, and the release archives.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${TAPWELL_JOBS:-2}
fuzz_seconds=${TAPWELL_FUZZ_SECONDS:-30}

bash scripts/install-deps.sh cmake ninja-build g++ clang libclang-rt-dev \
  libgtest-dev libcli11-dev pari-gp pkg-config libfftw3-dev \
  iverilog ghdl verilator yosys || exit 1
bash scripts/install-deps.sh python3-numpy python3-pybind11 pybind11-dev python3-dev python3-venv python3-pip \
  python3-setuptools python3-pytest python3-scipy python3-matplotlib python3-distributed python3-hypothesis || exit 1

passed=0
failed=0
stage() {  # stage NAME COMMAND...
  local name=$1
  shift
  echo "=== $name"
  local started=$SECONDS
  if "$@"; then
    passed=$((passed + 1))
    echo "=== $name passed in $((SECONDS - started)) s"
  else
    failed=$((failed + 1))
    echo "=== $name FAILED after $((SECONDS - started)) s"
  fi
}

build() {  # build DIR CMAKE-ARGS...
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null && ninja -C "$dir" -j "$jobs"
}

ctest_run() { ctest -j "$jobs" --output-on-failure --no-tests=error "$@"; }

native() { build build/native -DTAPWELL_TESTS=ON && (cd build/native && ctest_run); }

asan() {
  build build/asan -DTAPWELL_TESTS=ON -DTAPWELL_SANITIZE=address,undefined &&
    (cd build/asan && ctest_run)
}

tsan() {
  # ThreadSanitizer cannot map its shadow memory under full address-space
  # randomisation on newer kernels; setarch -R runs the tests without it.
  build build/tsan -DTAPWELL_TESTS=ON -DTAPWELL_SANITIZE=thread &&
    (cd build/tsan && setarch "$(uname -m)" -R ctest -j "$jobs" -L threaded --output-on-failure --no-tests=error)
}

fuzz() {
  build build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DTAPWELL_FUZZ=ON -DTAPWELL_TESTS=OFF || return 1
  local ok=0 found=0 target corpus
  for target in $(find build/fuzz -maxdepth 3 -type f -name '*_fuzz' -perm -u+x | sort); do
    found=$((found + 1))
    corpus=$(mktemp -d)
    echo "--- $(basename "$target") for ${fuzz_seconds}s"
    if ! "$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=0 "$corpus" >"$corpus.log" 2>&1; then
      tail -n 40 "$corpus.log"
      ok=1
    fi
    rm -rf "$corpus" "$corpus.log"
  done
  [ "$found" -gt 0 ] || { echo "no fuzz target was built"; return 1; }
  return $ok
}

# Release archives: packaging works, and the same commit packaged again in
# another folder (a clone under build/) gives the same bytes.
package() {
  bash scripts/package.sh || return 1
  local again=$root/build/package-again f
  rm -rf "$again"
  git clone -q --no-checkout "$root" "$again" &&
    git -C "$again" checkout -q --detach "$(git rev-parse HEAD)" &&
    bash "$again/scripts/package.sh" >/dev/null || return 1
  for f in "$again"/dist/*.sha256; do
    cmp "$f" "dist/$(basename "$f")" || return 1
  done
  rm -rf "$again"
}

stage "native build and tests" native
stage "hardware in simulators, lint and synthesis" bash tests/hdl/run_hdl_matrix.sh build/native/cli/tapwell-cli
stage "address and undefined-behaviour sanitizers" asan
stage "thread sanitizer" tsan
stage "fuzz targets" fuzz
stage "Windows program under Wine" bash scripts/windows-e2e.sh
stage "release archives, built twice alike" package
stage "Python module, its examples and Dask" bash scripts/python-test.sh

echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
