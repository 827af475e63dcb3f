#!/usr/bin/env bash
# The Python module's tests: builds the extension with CMake for Debian's
# interpreter (build/python), runs pytest on python/tests with it, the
# plotting example (headless; its PNGs must be written) and the Dask example
# on a local cluster of two workers at degree 24, compared with one call.
#
#   bash scripts/python-test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-$root/build/python}
python=/usr/bin/python3  # Debian's: the first python3 on PATH may lack its packages

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAPWELL_TESTS=OFF -DTAPWELL_PYTHON=ON \
  -DPython3_EXECUTABLE="$python" >/dev/null
# describe() is compared with tapwell-cli describe --json: the native
# stage's tapwell-cli when it is there, this build's otherwise.
cli=$root/build/native/cli/tapwell-cli
if [ -x "$cli" ]; then
  ninja -C "$build" -j "${TAPWELL_JOBS:-2}" _tapwell >/dev/null
else
  ninja -C "$build" -j "${TAPWELL_JOBS:-2}" _tapwell tapwell-cli >/dev/null
  cli=$build/cli/tapwell-cli
fi
export PYTHONPATH=$build/python
export TAPWELL_CLI=$cli
export MPLBACKEND=Agg

"$python" -m pytest -q -p no:cacheprovider "$root/python/tests"

pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
"$python" examples/python/plots.py "$pictures"
for f in gps_prn1_prn2.png pair_histograms.png; do
  [ -s "$pictures/$f" ] || { echo "python-test.sh: $f was not written" >&2; exit 1; }
done
"$python" examples/python/dask_primitive.py 24
