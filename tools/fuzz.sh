#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each one for a fixed time: fuzz.sh [SECONDS_PER_TARGET] (default 45).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SW_FUZZ_DIR:-$root/build-fuzz}
seconds=${1:-45}

"$root/tools/install-deps.sh" clang libclang-rt-dev
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSW_BUILD_FUZZ=ON -DSW_WERROR=ON -DSW_BUILD_GUI=OFF -DSW_BUILD_TESTS=OFF -DSW_BUILD_BENCH=OFF
cmake --build "$build" -j"$(nproc)" --target sw_fuzz_targets

for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus-$name"
  mkdir -p "$corpus"
  # The shared seeds, and a target's own ones where it has them (fuzz/corpus-NAME).
  cp -n "$root"/fuzz/corpus/* "$corpus"/ 2>/dev/null || true
  cp -n "$root/fuzz/corpus-$name"/* "$corpus"/ 2>/dev/null || true
  echo "Fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus"
done
