#!/usr/bin/env bash
# Builds the Windows program's benchmarks (build/win) and runs each under Wine against the real
# Win32 implementations, printing their figures. Benchmarks are not tests: nothing here passes or fails
# on a figure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win

# Every benchmark program, by its target name (bench/CMakeLists.txt); name some to run only those.
benchmarks=(tick_bench bill_bench bill_pages_bench bill_export_bench graphs_bench)
if [ $# -gt 0 ]; then benchmarks=("$@"); fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
# tick_bench watches the simulated Remote Access Service.
cmake --build "$build" -j 2 --target "${benchmarks[@]}" rassim_dll

for bench in "${benchmarks[@]}"; do
  echo "== $bench"
  TOLLWICK_BUILD_DIR=$build TOLLWICK_WINEPREFIX=$build/prefixes/bench \
    "$root/tests/wine/run-under-wine.sh" "$build/bin/$bench.exe"
  echo
done
