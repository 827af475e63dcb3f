#!/usr/bin/env bash
# Builds and starts the program: the Windows program under Wine when its
# scripts are present, otherwise the console front end on an example search.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -f scripts/windows-run.sh ] && [ "${1:-}" != "--console" ]; then
  exec bash scripts/windows-run.sh
fi
bash scripts/install-deps.sh cmake ninja-build g++ libcli11-dev
cmake -S . -B build/native -G Ninja -DTAPWELL_TESTS=OFF >/dev/null
ninja -C build/native tapwell-cli
echo "\$ tapwell-cli search --from 10011"
build/native/cli/tapwell-cli search --from 10011
