#!/usr/bin/env bash
# Builds the packages and checks what users get: the file lists, the control fields, lintian,
# the desktop entry and the AppStream metadata; and the library as its users build on it: a C
# program compiled against the installed header and stripewright.pc encodes the worked examples
# (worked_examples.tsv), and the installed Python module finds the library; and the LibreOffice
# extension as the build's stripewright.oxt has it.
#
#   check_package.sh SOURCE_DIR OUTPUT_DIR VERSION OXT FONT_FILE...
set -euo pipefail
root=$1 out=$2 version=$3 oxt=$4
shift 4
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

# The library, its development files and the Python module, from the same source; the program's
# package holds none of them.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
libdir=/usr/lib/$multiarch
lib=$out/libstripewright1_${version}_amd64.deb
dev=$out/libstripewright-dev_${version}_amd64.deb
py=$out/python3-stripewright_${version}_all.deb
for d in "$lib" "$dev" "$py"; do [ -f "$d" ] || fail "no $d"; done
! grep -q "libstripewright\|^/usr/include/.\|dist-packages/." <<<"$files" ||
  fail "the library or the module in $deb"
has_in() {
  dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./|/|' | grep -qx -- "$2" ||
    fail "not in $(basename "$1"): $2"
}
has_in "$lib" "$libdir/libstripewright.so.1"
has_in "$dev" /usr/include/stripewright.h
has_in "$dev" "$libdir/libstripewright.so"
has_in "$dev" "$libdir/pkgconfig/stripewright.pc"
has_in "$py" /usr/lib/python3/dist-packages/stripewright.py
[ "$(dpkg-deb -f "$lib" Multi-Arch)" = same ] || fail "libstripewright1 is not Multi-Arch: same"
grep -q '\blibstdc++6\b' <<<"$(dpkg-deb -f "$lib" Depends)" || fail "libstripewright1's Depends"
dpkg-deb -I "$lib" symbols | grep -q '^ stripewright_encode@Base ' || fail "no symbols file"
[ "$(dpkg-deb -f "$dev" Depends)" = "libstripewright1 (= $version)" ] ||
  fail "libstripewright-dev's Depends: $(dpkg-deb -f "$dev" Depends)"
pydepends=$(dpkg-deb -f "$py" Depends)
grep -q "\bpython3\b" <<<"$pydepends" && grep -qF "libstripewright1 (>= $version)" <<<"$pydepends" ||
  fail "python3-stripewright's Depends: $pydepends"
lintian --fail-on error,warning "$lib" "$dev" "$py" || fail "lintian on the library's packages"

# A user's program, built from what the packages install (unpacked into a scratch root).
mkdir -p "$tree/build"
for d in "$deb" "$lib" "$dev" "$py"; do dpkg-deb -x "$d" "$tree"; done
here=$(cd "$(dirname "$0")" && pwd)
/usr/bin/python3 "$here/resolve_examples.py" "$tree/usr/bin/stripewright-encode" \
  "$here/worked_examples.tsv" "$tree/build/worked_examples.h"
export PKG_CONFIG_LIBDIR=$tree$libdir/pkgconfig PKG_CONFIG_SYSROOT_DIR=$tree
export PKG_CONFIG_ALLOW_SYSTEM_CFLAGS=1 PKG_CONFIG_ALLOW_SYSTEM_LIBS=1
[ "$(pkg-config --modversion stripewright)" = "$version" ] || fail "stripewright.pc's version"
# shellcheck disable=SC2046  # the flags are words
cc -std=c99 -Wall -Wextra -Werror -pedantic -I"$tree/build" "$here/encode_examples.c" \
  $(pkg-config --cflags --libs stripewright) -pthread -o "$tree/build/encode_examples" ||
  fail "a program cannot be built on the installed library"
LD_LIBRARY_PATH=$tree$libdir "$tree/build/encode_examples" "$version" ||
  fail "the installed library's answers"
# The module as installed finds the library by its SONAME.
LD_LIBRARY_PATH=$tree$libdir PYTHONPATH=$tree/usr/lib/python3/dist-packages /usr/bin/python3 -B -c "
import stripewright
assert stripewright.__file__.startswith('$tree/'), stripewright.__file__
assert stripewright.version() == '$version', stripewright.version()
assert stripewright.encode('39', 'CODE 39', checksum=True) == '*CODE~39R*'
" || fail "the installed Python module"
rm -rf "$tree"

# The LibreOffice extension: unpacked where LibreOffice finds the extensions of every user,
# holding what stripewright.oxt holds, with the example spreadsheet; no maintainer scripts.
lo=$out/libreoffice-stripewright_${version}_all.deb
[ -f "$lo" ] || fail "no $lo"
! grep -q "/libreoffice/\|/examples/" <<<"$files" || fail "the extension or the example in $deb"
extension=/usr/lib/libreoffice/share/extensions/stripewright
has_in "$lo" /usr/share/stripewright/examples/bar-codes.ods
lodepends=$(dpkg-deb -f "$lo" Depends)
grep -q "\bpython3-uno\b" <<<"$lodepends" && grep -qF "libstripewright1 (>= $version)" <<<"$lodepends" ||
  fail "libreoffice-stripewright's Depends: $lodepends"
[ "$(dpkg-deb -f "$lo" Architecture)" = all ] || fail "libreoffice-stripewright is not Architecture: all"
scripts=$(dpkg-deb --ctrl-tarfile "$lo" | tar -t | grep -vx '\./\|\./control\|\./md5sums' || true)
[ -z "$scripts" ] || fail "libreoffice-stripewright has maintainer scripts: $scripts"
installed=$(dpkg-deb -c "$lo" | awk '$1 !~ /^d/ {print $6}' | sed -n "s|^\.$extension/||p" | LC_ALL=C sort)
grep -qx "META-INF/manifest.xml" <<<"$installed" || fail "no extension in $lo"
if [ "$oxt" != none ]; then
  in_oxt=$(/usr/bin/python3 -c "import sys, zipfile; print('\n'.join(sorted(
    n for n in zipfile.ZipFile(sys.argv[1]).namelist() if not n.endswith('/'))))" "$oxt")
  [ "$installed" = "$in_oxt" ] || fail "the installed extension is not the .oxt's: $installed"
fi
lintian --fail-on error,warning "$lo" || fail "lintian on libreoffice-stripewright"
echo "The packages pass: $deb $lib $dev $py $lo"
