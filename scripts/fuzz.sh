#!/usr/bin/env bash
# Searches for stored values that break a decoder: builds the fuzz targets with clang's libFuzzer
# (build/fuzz) and runs each for FUZZ_SECONDS (default 60) from its corpus in tests/fuzz/corpus/<target>,
# then merges into that corpus only the inputs that reach code it did not reach, so it stays small.
# The native tests replay the corpus; commit new inputs, and those that found a fault with its fix.
#   bash scripts/fuzz.sh [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
seconds=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -DCMAKE_BUILD_TYPE=Debug \
  -DTOLLWICK_FUZZ=ON >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for file in "$root"/tests/fuzz/*_fuzz.cpp; do
    name=${file##*/}
    targets+=("${name%_fuzz.cpp}")
  done
fi
for target in "${targets[@]}"; do
  cmake --build "$root/build/fuzz" --target "fuzz_$target" -j "$(nproc)"
  corpus="$root/tests/fuzz/corpus/$target"
  work="$root/build/fuzz/work/$target"
  mkdir -p "$corpus" "$work"
  echo "== $target: $seconds s"
  "$root/build/fuzz/bin/fuzz_$target" -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix="$root/build/fuzz/" "$work" "$corpus"
  "$root/build/fuzz/bin/fuzz_$target" -merge=1 -max_len=4096 "$corpus" "$work" 2>&1 | tail -1
done
