#!/usr/bin/env bash
# Lists the files of a lavodc package (dpkg-deb -c), checks that the installed layout, the
# documentation Debian asks for and the package relations are there, validates the desktop,
# MIME, metainfo and font files it holds, and runs lintian, which must report no error and no
# warning. Installs lintian when it is missing, as scripts/install-deps.sh installs packages.
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
         usr/lib/lavodc/libinfovane.so usr/lib/lavodc/lavodc.installed usr/bin/lavodc usr/bin/lavodc-cli \
         usr/share/doc/lavodc/copyright usr/share/doc/lavodc/changelog.gz \
         usr/share/man/man1/lavodc.1.gz usr/share/man/man1/lavodc-cli.1.gz \
         usr/share/lavodc/screenshots/main-window.png \
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
grep -q '\./etc/fonts/conf\.d/65-lavodc-korean-faces\.conf -> /usr/share/fontconfig/conf\.avail/65-lavodc-korean-faces\.conf$' \
  "$work/contents" || fail "the font alias is not enabled in /etc/fonts/conf.d"

depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
for p in fonts-nanum qt6-translations-l10n libqt6widgets6 libqt6printsupport6; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done
# A Hangul engine with its input method: fcitx5-hangul with fcitx5-frontend-qt6, or ibus-hangul.
for p in cups "fcitx5-hangul | ibus-hangul" "fcitx5-frontend-qt6 | ibus-hangul" libreoffice-calc; do
  grep -Eq "(^|, )${p//|/\\|}(,|$)" <<<"$recommends" || fail "Recommends lacks $p"
done
# No maintainer scripts: nothing in the package needs the loader's cache or anything else done.
dpkg-deb -I "$deb" | grep -Eq '^ +[0-9]+ bytes, +[0-9]+ lines +\*? *(preinst|postinst|prerm|postrm) ' &&
  fail "the package has maintainer scripts"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "not an amd64 package"

# The package's own copies of the integration files, validated as the source's are.
dpkg-deb -x "$deb" "$work/root"
mkdir "$work/files"
cp "$work/root/usr/share/applications/org.example.lavodc.desktop" \
   "$work/root/usr/share/metainfo/org.example.lavodc.metainfo.xml" \
   "$work/root/usr/share/mime/packages/org.example.lavodc.xml" \
   "$work/root/usr/share/fontconfig/conf.avail/65-lavodc-korean-faces.conf" "$work/files/"
"$here/validate-desktop-files.sh" "$work/files" || fail "the package's desktop files"
grep -qx 'StartupNotify=true' "$work/files/org.example.lavodc.desktop" || fail "the desktop entry lacks StartupNotify=true"
metainfo=$work/files/org.example.lavodc.metainfo.xml
grep -q '<control>keyboard</control>' "$metainfo" || fail "the metainfo does not recommend a keyboard"
# The screenshot the metainfo names ships in the package under the same name.
shot=$(sed -n 's|.*<image[^>]*>https://[^<]*/screenshots/\([^<]*\)</image>.*|\1|p' "$metainfo" | head -n 1)
if [ -z "$shot" ]; then
  fail "the metainfo names no screenshot"
elif [ ! -s "$work/root/usr/share/lavodc/screenshots/$shot" ]; then
  fail "the screenshot $shot is not in the package"
elif [ "$(head -c 4 "$work/root/usr/share/lavodc/screenshots/$shot" | tail -c 3)" != PNG ]; then
  fail "the screenshot $shot is not a PNG image"
fi

if ! command -v lintian >/dev/null; then
  echo "Installing: lintian"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends lintian
fi
echo "== lintian"
# Its own note about running as root is no finding about the package.
lintian "$deb" 2>&1 | grep -v 'running with root privileges is not recommended' >"$work/lintian" || true
cat "$work/lintian"
if grep -Eq '^[EW]: ' "$work/lintian"; then
  fail "lintian reports errors or warnings"
else
  echo "lintian: no errors, no warnings"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package $(basename "$deb"): all checks passed"
