#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SW_SANITIZE_DIR:-$root/build-sanitize}

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSW_SANITIZE=ON -DSW_WERROR=ON \
  -DSW_BUILD_BENCH=OFF
cmake --build "$build" -j"$(nproc)"
cd "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The package test builds the whole package again and gains nothing from the sanitizers; a
# sanitizer build of the library cannot be loaded into LibreOffice.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -LE 'package|libreoffice'
