#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native (sanitizers), Wine, and
# end to end with the real tollwick.exe. Prints how long the Wine unit tests and the whole test
# phase took.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" native
tests_started=$SECONDS
ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc)"
wine_started=$SECONDS
ctest --test-dir "$root/build/win" --output-on-failure -j "$(nproc)" -L wine_unit
wine_seconds=$((SECONDS - wine_started))
echo "Wine unit tests: $wine_seconds s"
# The end-to-end scripts spend their minutes waiting for the wall clock (a call's minute snapshots),
# not on the processors, so twice as many run at once as there are processors.
ctest --test-dir "$root/build/win" --output-on-failure -j "$(($(nproc) * 2))" -LE wine_unit
echo "Test phase: $((SECONDS - tests_started)) s (Wine unit tests $wine_seconds s)"
echo "All tests passed."
