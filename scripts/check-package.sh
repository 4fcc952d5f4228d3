#!/usr/bin/env bash
# Lists the files of a lavodc package (dpkg-deb -c), checks that the installed layout and the
# package relations are there, and validates the desktop, MIME, metainfo and font files it holds.
set -euo pipefail
deb=${1:?usage: check-package.sh lavodc_VERSION_amd64.deb}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

echo "== $(basename "$deb")"
dpkg-deb -c "$deb" | tee "$work/contents"
echo
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends
echo

expect_file() {
  grep -Eq "^[-l][^ ]* +[^ ]+ +[0-9]+ [^ ]+ [^ ]+ \./$1( -> .*)?\$" "$work/contents" || fail "no ./$1 in the package"
}
for f in usr/lib/lavodc/lavodc usr/lib/lavodc/lavodc-cli usr/lib/lavodc/TmLdoc.str \
         usr/lib/lavodc/libinfovane.so usr/bin/lavodc usr/bin/lavodc-cli \
         usr/share/applications/org.example.lavodc.desktop \
         usr/share/metainfo/org.example.lavodc.metainfo.xml \
         usr/share/mime/packages/org.example.lavodc.xml \
         usr/share/icons/hicolor/scalable/apps/org.example.lavodc.svg \
         usr/share/icons/hicolor/scalable/mimetypes/application-x-lavodc-sheet.svg \
         usr/share/fontconfig/conf.avail/65-lavodc-korean-faces.conf \
         etc/fonts/conf.d/65-lavodc-korean-faces.conf; do
  expect_file "$f"
done
grep -q '\./usr/bin/lavodc -> \.\./lib/lavodc/lavodc$' "$work/contents" || fail "usr/bin/lavodc is not a link to the program"

depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
for p in fonts-nanum qt6-translations-l10n libqt6widgets6 libqt6printsupport6; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done
for p in cups "fcitx5-frontend-qt6 | ibus" libreoffice-calc; do
  grep -Fq "$p" <<<"$recommends" || fail "Recommends lacks $p"
done
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "not an amd64 package"

# The package's own copies of the integration files, validated as the source's are.
dpkg-deb -x "$deb" "$work/root"
mkdir "$work/files"
cp "$work/root/usr/share/applications/org.example.lavodc.desktop" \
   "$work/root/usr/share/metainfo/org.example.lavodc.metainfo.xml" \
   "$work/root/usr/share/mime/packages/org.example.lavodc.xml" \
   "$work/root/usr/share/fontconfig/conf.avail/65-lavodc-korean-faces.conf" "$work/files/"
"$here/validate-desktop-files.sh" "$work/files" || fail "the package's desktop files"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package $(basename "$deb"): all checks passed"
