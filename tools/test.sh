#!/usr/bin/env bash
# Installs what is missing, builds Stripewright and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SW_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSW_WERROR=ON
cmake --build "$build" -j"$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
