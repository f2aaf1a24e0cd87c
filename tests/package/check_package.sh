#!/usr/bin/env bash
# Builds the package and checks what users get: the file list, the control fields, lintian,
# the desktop entry and the AppStream metadata.
#
#   check_package.sh SOURCE_DIR OUTPUT_DIR VERSION FONT_FILE...
set -euo pipefail
root=$1 out=$2 version=$3
shift 3
fonts=("$@")

fail() { echo "FAIL: $*" >&2; exit 1; }

"$root/tools/package.sh" "$out"
deb=$out/stripewright_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"

# Control fields; Depends comes from the libraries the programs link.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = stripewright ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), the build says $version"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Recommends)" = "xdg-utils" ] || fail "Recommends: $(field Recommends)"
# The help viewer pulls in much; without it Help opens the HTML pages in the browser.
[ "$(field Suggests)" = "kchmviewer" ] || fail "Suggests: $(field Suggests)"
depends=$(field Depends)
for lib in libc6 libqt6widgets6 libqt6printsupport6; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

# The file list: every font the build makes, once, in the system's font folder; nothing
# outside /usr.
files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
has() { grep -qx -- "$1" <<<"$files" || fail "not in the package: $1"; }
for f in /usr/bin/stripewright /usr/bin/stripewright-encode /usr/bin/stripewright-setup \
  /usr/share/man/man1/stripewright.1.gz /usr/share/man/man1/stripewright-encode.1.gz \
  /usr/share/man/man1/stripewright-setup.1.gz \
  /usr/lib/x86_64-linux-gnu/stripewright/stripewright-pictures.so \
  /usr/share/stripewright/tips.txt /usr/share/stripewright/help/stripewright.chm \
  /usr/share/doc/stripewright/html/index.htm \
  /usr/share/applications/stripewright.desktop \
  /usr/share/icons/hicolor/scalable/apps/stripewright.svg \
  /usr/share/metainfo/example.stripewright.Stripewright.metainfo.xml; do
  has "$f"
done
grep -q '^/usr/share/stripewright/templates/lt[0-9]*\.rtf$' <<<"$files" || fail "no label templates"
[ ${#fonts[@]} -gt 0 ] || fail "no font list given"
for font in "${fonts[@]}"; do has "/usr/share/fonts/truetype/stripewright/$font"; done
[ "$(grep -c '\.ttf$' <<<"$files")" -eq ${#fonts[@]} ] ||
  fail "fonts other than the build's, or twice: $(grep '\.ttf$' <<<"$files")"
! grep -v '^/usr/' <<<"$files" | grep -qvx '/' || fail "outside /usr: $(grep -v '^/usr/' <<<"$files")"
! grep -q 'custom\.rtf$' <<<"$files" || fail "the user's own template must not be installed"

# lintian: no error, no warning that is not fixed or overridden with a reason.
lintian --fail-on error,warning "$deb" ||
  fail "lintian"

# The desktop entry and the metadata, as installed.
tree=$out/tree
rm -rf "$tree"
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree/usr/share/applications/stripewright.desktop" || fail "desktop entry"
grep -qx "Exec=sh -c \"'/usr/bin/stripewright-setup' --quiet; exec '/usr/bin/stripewright'\"" \
  "$tree/usr/share/applications/stripewright.desktop" || fail "desktop entry's Exec line"
appstreamcli validate --no-net "$tree/usr/share/metainfo/example.stripewright.Stripewright.metainfo.xml" ||
  fail "AppStream metadata"
rm -rf "$tree"
echo "The package $deb passes."
