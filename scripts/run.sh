#!/usr/bin/env bash
# Builds and starts the program: Tapwell.exe under Wine, in the directory this
# command was started from (its Tapwell.ini is kept there). With --console it
# builds the console front end instead and runs an example search.
set -euo pipefail
export TAPWELL_RUN_DIR=${TAPWELL_RUN_DIR:-$PWD}
cd "$(dirname "$0")/.."
if [ "${1:-}" != "--console" ]; then
  exec bash scripts/windows-run.sh
fi
bash scripts/install-deps.sh cmake ninja-build g++ libcli11-dev
cmake -S . -B build/run -G Ninja -DTAPWELL_TESTS=OFF >/dev/null
ninja -C build/run tapwell-cli
echo "\$ tapwell-cli search --from 10011"
build/run/cli/tapwell-cli search --from 10011
