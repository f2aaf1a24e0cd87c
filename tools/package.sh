#!/usr/bin/env bash
# Builds the Debian packages of Stripewright with Debian's own tools (dpkg-buildpackage and
# debhelper, from debian/), installing the build dependencies that are missing, and prints the
# paths of the .deb files. The build runs in a copy of the source tree, so the tree stays clean.
#
#   tools/package.sh [OUTPUT_FOLDER]        (default: build-package)
#
# Install the result with: sudo apt install ./build-package/stripewright_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-package}

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
"$root/tools/install-deps.sh" dpkg-dev debhelper fakeroot
if ! (cd "$root" && dpkg-checkbuilddeps >/dev/null 2>&1); then
  echo "Installing the build dependencies of debian/control"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get build-dep -y -qq --no-install-recommends "$root"
fi

# The files of the source tree: what git tracks or would track, else everything but build trees.
mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$out/source/stripewright
rm -rf "$out/source"
mkdir -p "$stage"
if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf -) | tar -C "$stage" -xf -
else
  tar -C "$root" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$stage" -xf -
fi

# ccache keeps rebuilds short; the package's compiler flags are its own, so its objects are
# cached apart from the developers' builds. debhelper points HOME elsewhere, hence the folder.
if command -v ccache >/dev/null; then
  export SW_COMPILER_LAUNCHER=ccache
  CCACHE_DIR=$(ccache --get-config cache_dir)
  export CCACHE_DIR
fi
export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }nocheck parallel=$(nproc)"

(cd "$stage" && dpkg-buildpackage -b -us -uc)
rm -f "$out"/*.deb "$out"/*.ddeb
mv "$out"/source/*.deb "$out"/source/stripewright*.buildinfo \
  "$out"/source/stripewright*.changes "$out"/
mv "$out"/source/*.ddeb "$out"/ 2>/dev/null || true
rm -rf "$out/source"
ls "$out"/*.deb
