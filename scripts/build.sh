#!/usr/bin/env bash
# Configures and builds the Windows program (MinGW-w64 cross build, build/win) and, with "native",
# the window-free logic for Linux (build/native); with "dist", only what ships (build/win/dist).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/needs.sh"
require_commands "${build_commands[@]}"
jobs=$(nproc)
cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
target=()
[ "${1:-}" = dist ] && target=(--target dist)
cmake --build "$root/build/win" -j "$jobs" "${target[@]}"
if [ "${1:-}" = native ]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/build/native" -j "$jobs"
fi
