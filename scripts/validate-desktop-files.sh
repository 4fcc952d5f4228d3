#!/usr/bin/env bash
# Validates the desktop integration files in FOLDER (the source's packaging/, or a package's
# files gathered by check-package.sh): the desktop entry and the AppStream metainfo with their
# validators, the MIME type by building a MIME database from it and asking what sheet files are,
# and the font alias by asking fontconfig for the two Korean faces.
set -euo pipefail
folder=$(cd "${1:?usage: validate-desktop-files.sh FOLDER}" && pwd)
id=org.example.lavodc
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

desktop-file-validate "$folder/$id.desktop" || fail "desktop-file-validate $id.desktop"
appstreamcli validate --no-net --pedantic "$folder/$id.metainfo.xml" || fail "appstreamcli validate $id.metainfo.xml"

# A MIME database of the system's types and ours, in a scratch data folder.
mkdir -p "$work/data/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$work/data/mime/packages/"
cp "$folder/$id.xml" "$work/data/mime/packages/"
XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/data" update-mime-database "$work/data/mime" \
  >"$work/mime.log" 2>&1 || fail "update-mime-database"
if [ -s "$work/mime.log" ]; then
  cat "$work/mime.log"
  fail "update-mime-database complained about $id.xml"
fi
# Three records of 344 bytes with the kind letters A, B and C in byte 341 of each.
record() { head -c 340 /dev/zero; printf '\001%s\002\000' "$1"; }
{ record A; record B; record C; } >"$work/sheet-without-extension"
printf 'not a sheet\n' >"$work/notes.txt"
# Names alone, any letter case, whatever the bytes (an empty file is a type of its own).
head -c 344 /dev/zero | tr '\0' x >"$work/x.Lvo"
cp "$work/x.Lvo" "$work/UPPER.LVO"
content_type() {
  XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/data" gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
expect_type() {
  local got
  got=$(content_type "$1")
  [ "$got" = "$2" ] || fail "$(basename "$1") is '$got', not '$2'"
}
expect_type "$work/x.Lvo" application/x-lavodc-sheet
expect_type "$work/UPPER.LVO" application/x-lavodc-sheet
expect_type "$work/sheet-without-extension" application/x-lavodc-sheet
expect_type "$work/notes.txt" text/plain

# The font alias on top of the system's configuration.
cat >"$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="no">/etc/fonts/fonts.conf</include>
  <include ignore_missing="no">$folder/65-lavodc-korean-faces.conf</include>
</fontconfig>
CONF
expect_face() {
  local got
  got=$(FONTCONFIG_FILE="$work/fonts.conf" fc-match -f '%{family[0]}' "$1")
  [ "$got" = "$2" ] || fail "fontconfig gives '$got' for $1, not $2"
}
expect_face 굴림 NanumGothic
expect_face 바탕 NanumMyeongjo

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "desktop entry, metainfo, MIME type and font alias: all checks passed"
