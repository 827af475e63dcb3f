#!/usr/bin/env bash
# The benchmark command: builds with optimisation in its own build directory,
# installs PARI/GP when it is missing, and prints for each job the fast time
# (median), the ratio against the straightforward method measured in the same
# run (for the primitive search also against PARI/GP), the library's calls
# into memory against the logged jobs, and whether each performance target is
# met.
#
#   bash scripts/bench.sh [--skip-32] [--only PREFIX] [--no-verify] [--dir DIR]
#
# --skip-32 leaves out the degree-32 search (about two minutes and a 2.3 GB
# log); logs go to DIR (default: a temporary directory, removed afterwards).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build/bench

bash scripts/install-deps.sh cmake ninja-build g++ pari-gp pkg-config libfftw3-dev libcli11-dev

# Quiet when it works; the compiler's words and a failure when it does not.
quietly() {
  local out
  if ! out=$("$@" 2>&1); then
    printf '%s\n' "$out" >&2
    echo "bench.sh: failed: $*" >&2
    return 1
  fi
}
quietly cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAPWELL_BENCH=ON -DTAPWELL_TESTS=OFF
quietly ninja -C "$build" -j "${TAPWELL_JOBS:-2}" tapwell-bench

dir=""
args=()
while [ $# -gt 0 ]; do
  case $1 in
    --dir) dir=$2; shift 2 ;;
    *) args+=("$1"); shift ;;
  esac
done
cleanup=""
if [ -z "$dir" ]; then
  dir=$(mktemp -d /tmp/tapwell-bench.XXXXXX)
  cleanup=$dir
fi
trap '[ -n "$cleanup" ] && rm -rf "$cleanup"' EXIT

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(nproc) logical CPUs," \
  "$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo) memory, $(uname -sr)"
echo "compiler: $(c++ --version | head -n 1); PARI/GP $(gp --version-short 2>/dev/null)"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/tapwell-bench" --dir "$dir" "${args[@]+"${args[@]}"}"

# Streams into a file on tmpfs: PRBS31 against writing the same bytes from
# memory, and the degrees to 64 against PRBS31, in the same run.
quietly ninja -C "$build" -j "${TAPWELL_JOBS:-2}" tapwell-stream-bench
"$build/bench/tapwell-stream-bench" --dir /dev/shm || true
# The Python module against scipy and numpy, measured in the same run.
bash scripts/install-deps.sh python3-dev python3-numpy python3-pybind11 pybind11-dev python3-scipy
quietly cmake -S "$root" -B "$build-python" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAPWELL_TESTS=OFF \
  -DTAPWELL_PYTHON=ON -DPython3_EXECUTABLE=/usr/bin/python3
quietly ninja -C "$build-python" -j "${TAPWELL_JOBS:-2}" _tapwell
PYTHONPATH="$build-python/python" /usr/bin/python3 bench/python_bench.py
# The family report: the GPS codes, a Gold family and a Kasami set.
quietly ninja -C "$build" -j "${TAPWELL_JOBS:-2}" tapwell-family-bench
echo
"$build/bench/tapwell-family-bench"
