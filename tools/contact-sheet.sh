#!/usr/bin/env bash
# Draws a sample bar code in every one of the bar code faces and puts them on one sheet,
# each labelled with its face, data and what zbarimg reads from it (where zbar knows the
# symbology). Needs a build (stripewright-encode), ImageMagick and zbar-tools.
#
#   tools/contact-sheet.sh [BUILD_DIR] [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/contact-sheet.png}
encode=$build/src/encode/stripewright-encode
dpi=${SW_SHEET_DPI:-200}

[ -x "$encode" ] || { echo "no $encode: build first" >&2; exit 2; }
for tool in convert zbarimg; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# face | type | height | checksum | data
rows=(
  "Sample 25 Short|25|short||0123456789"
  "Sample 25|25|normal||0123456789"
  "Sample 25 Tall|25|tall||0123456789"
  "Sample 25 Interleaved Short|25i|short||0123456789"
  "Sample 25 Interleaved|25i|normal||0123456789"
  "Sample 25 Interleaved Tall|25i|tall|--checksum|123456789"
  "Sample 39 Short|39|short||CODE 39"
  "Sample 39|39|normal|--checksum|CODE 39"
  "Sample 39 Tall|39|tall||STRIPEWRIGHT-8.5"
  "Sample UPCA Short|upc|short||03600029145"
  "Sample UPCA|upc|normal||12345678901"
  "Sample Postal|post|normal||123456789"
  "Sample 128 Short|128|short||Code 128"
  "Sample 128|128|normal||AB123456cd"
  "Sample 128 Tall|gs1-128|tall||(01)09501101530003(17)261231(10)AB12"
  "Sample EAN13 Short|ean13|short||590123412345"
  "Sample EAN13|ean13|normal||4006381333931"
  "Sample IMb|imb|normal||01234567094987654321-01234567891"
)

parts=()
i=0
for row in "${rows[@]}"; do
  IFS='|' read -r face type height checksum data <<<"$row"
  png=$work/$i.png
  # shellcheck disable=SC2086
  "$encode" --type "$type" $checksum --height "$height" --dpi "$dpi" --png "$png" -- "$data"
  read_back=$(zbarimg -q --raw "$png" 2>/dev/null || true)
  [ -n "$read_back" ] || read_back="(zbar does not read this symbology)"
  label="$face  |  data: $data ${checksum:+(with check character)}  |  zbarimg: $read_back"
  convert -background white -fill black -font Liberation-Sans -pointsize 13 \
    -density "$dpi" label:"$label" "$work/$i-label.png"
  convert "$work/$i-label.png" "$png" -background white -gravity west -append \
    -bordercolor white -border 20 "$work/$i-row.png"
  parts+=("$work/$i-row.png")
  i=$((i + 1))
done
convert "${parts[@]}" -background white -gravity west -append \
  -bordercolor "#888888" -border 2 +repage "$out"
echo "$out"
