#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Stripewright need, when any
# of them is missing. Extra package names may be given as arguments. "a|b" is satisfied by
# either package and installs a when neither is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev libgl-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-fonttools fonts-ocr-b
  libzxing-dev
  fontconfig fonts-liberation2
  xdg-utils
  poppler-utils
  fp-utils-3.2.2
  help2man scdoc
  ccache
  # the Debian packages and their checks (tools/package.sh)
  debhelper dh-python dpkg-dev fakeroot lintian desktop-file-utils appstream
  # the Python module's test makes a Turkish locale
  locales
  # the LibreOffice extension (unoidl-write) and its tests in a headless LibreOffice; a desktop
  # that has the full LibreOffice keeps it (the headless packages would replace it)
  libreoffice-dev python3-uno
  "libreoffice-calc-nogui|libreoffice-calc" "libreoffice-writer-nogui|libreoffice-writer"
  "$@"
)

missing=()
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in "${packages[@]}"; do
  found=""
  for alternative in ${p//|/ }; do
    installed "$alternative" && found=yes && break
  done
  [ -n "$found" ] || missing+=("${p%%|*}")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
