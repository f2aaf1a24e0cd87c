#!/usr/bin/env bash
# Installs what is missing, builds Stripewright, installs it for the current user (under
# ~/.local), sets up the user's program folder and starts the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SW_BUILD_DIR:-$root/build-release}
prefix=${SW_PREFIX:-$HOME/.local}

# Help opens the help pages in the web browser; where kchmviewer is installed, the compiled file
# (xchm on Debian 12 shows the pages' HTML source instead, so it is no help viewer here).
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSW_BUILD_TESTS=OFF \
  -DSW_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX="$prefix"
cmake --build "$build" -j"$(nproc)"
cmake --install "$build"
# Let the application menu see the new entry at once.
update-desktop-database "$prefix/share/applications" 2>/dev/null || true

echo "Installed under $prefix/bin."
"$prefix/bin/stripewright-setup"
# The application menu's entry starts the program in the installed help folder; Help finds the
# installed help from anywhere as well.
cd "$prefix/share/stripewright/help"
exec "$prefix/bin/stripewright"
