#!/usr/bin/env bash
# Installs what is missing, builds Stripewright, installs it for the current user (under
# ~/.local), sets up the user's program folder and starts the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SW_BUILD_DIR:-$root/build-release}
prefix=${SW_PREFIX:-$HOME/.local}

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSW_BUILD_TESTS=OFF \
  -DSW_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX="$prefix"
cmake --build "$build" -j"$(nproc)"
cmake --install "$build"

echo "Installed under $prefix/bin."
"$prefix/bin/stripewright-setup"
exec "$prefix/bin/stripewright"
