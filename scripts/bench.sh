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

run_bench() {
  TOLLWICK_BUILD_DIR=$build TOLLWICK_WINEPREFIX=$build/prefixes/bench \
    "$root/tests/wine/run-under-wine.sh" "$build/bin/$1.exe"
}
for bench in "${benchmarks[@]}"; do
  echo "== $bench"
  if [ "$bench" = tick_bench ] && unshare -n true 2>/dev/null; then
    # Its chosen network connections are two veth pairs, down, in a namespace of its own, where Wine's
    # server starts too (it answers the interface table from its own namespace).
    export root build
    unshare -n bash -c "ip link add twb0 type veth peer name twb1 &&
                        ip link add twb2 type veth peer name twb3 && $(declare -f run_bench) &&
                        run_bench tick_bench"
  else
    run_bench "$bench"
  fi
  echo
done
