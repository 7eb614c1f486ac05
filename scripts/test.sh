#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native (sanitizers), Wine, and
# end to end with the real tollwick.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" native
ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc)"
ctest --test-dir "$root/build/win" --output-on-failure -j "$(nproc)"
echo "All tests passed."
