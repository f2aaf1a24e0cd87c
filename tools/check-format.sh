#!/usr/bin/env bash
# Fails when a C++ source of ours differs from what the committed .clang-format makes of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/install-deps.sh" clang-format
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
echo "Formatting: all C++ sources match .clang-format."
