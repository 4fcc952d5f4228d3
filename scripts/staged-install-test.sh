#!/usr/bin/env bash
# Installs the build into a scratch prefix as an ordinary user, as `cmake --install --prefix
# "$(mktemp -d)"` by a packager or a user would: it must succeed without touching anything
# outside the prefix (/etc and /usr are not the user's to write), and the prefix must hold the
# programs, the marker that tells the program it is installed, the documentation and the font
# alias enabled below the prefix. Run as root, the install runs as nobody on a copy of what the
# install rules read, with the copy's paths in place of the checkout's.
set -euo pipefail
source=$(cd "${1:?usage: staged-install-test.sh SOURCE_DIR BUILD_DIR}" && pwd)
build=$(cd "${2:?usage: staged-install-test.sh SOURCE_DIR BUILD_DIR}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  # The files every install script names below the build folder, and the source without builds.
  mkdir -p "$work/src" "$work/build"
  tar -C "$source" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/src" -xf -
  while IFS= read -r script; do
    relative=${script#"$build"/}
    mkdir -p "$work/build/$(dirname "$relative")"
    cp "$script" "$work/build/$relative"
    { grep -o "\"$build/[^\"\$]*\"" "$script" || true; } | tr -d '"' | while IFS= read -r named; do
      [ -e "$named" ] || [ -L "$named" ] || continue
      relative=${named#"$build"/}
      mkdir -p "$work/build/$(dirname "$relative")"
      cp -a "$named" "$work/build/$(dirname "$relative")/"
    done
  done < <(find "$build" -name cmake_install.cmake)
  while IFS= read -r script; do
    text=$(<"$script")
    text=${text//"$build"/"$work/build"}
    text=${text//"$source"/"$work/src"}
    printf '%s\n' "$text" >"$script"
  done < <(find "$work/build" -name cmake_install.cmake)
  chown -R 65534:65534 "$work/src" "$work/build"
  chmod 755 "$work"
  source=$work/src
  build=$work/build
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
mkdir -m 1777 "$work/tmp"
export TMPDIR=$work/tmp

prefix=$("${as_user[@]}" mktemp -d)
if ! "${as_user[@]}" cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  fail "cmake --install --prefix $prefix failed as $("${as_user[@]}" id -un 2>/dev/null || echo "uid 65534")"
fi

[ -f "$build/install_manifest.txt" ] || fail "no install manifest"
while IFS= read -r installed; do
  case $installed in
    "$prefix"/*) ;;
    *) fail "installed outside the prefix: $installed" ;;
  esac
done < <(cat "$build/install_manifest.txt" 2>/dev/null)

for f in lib/lavodc/lavodc lib/lavodc/lavodc-cli lib/lavodc/TmLdoc.str lib/lavodc/libinfovane.so \
         lib/lavodc/lavodc.installed bin/lavodc bin/lavodc-cli \
         share/applications/org.example.lavodc.desktop share/metainfo/org.example.lavodc.metainfo.xml \
         share/lavodc/screenshots/main-window.png share/man/man1/lavodc.1.gz share/man/man1/lavodc-cli.1.gz \
         share/doc/lavodc/copyright share/doc/lavodc/changelog.gz \
         share/fontconfig/conf.avail/65-lavodc-korean-faces.conf; do
  [ -e "$prefix/$f" ] || fail "no $f below the prefix"
done
alias=$prefix/etc/fonts/conf.d/65-lavodc-korean-faces.conf
[ -L "$alias" ] || fail "the font alias is not enabled below the prefix"
[ "$(readlink "$alias")" = "$prefix/share/fontconfig/conf.avail/65-lavodc-korean-faces.conf" ] ||
  fail "the font alias links to $(readlink "$alias")"
# The installed tool runs from its place: it answers with its usage (exit 2).
status=0
"${as_user[@]}" "$prefix/bin/lavodc-cli" >/dev/null 2>"$work/usage" || status=$?
[ "$status" -eq 2 ] && grep -q '^usage: lavodc-cli' "$work/usage" || fail "the installed lavodc-cli does not run"

rm -rf "$prefix"
if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "staged install into a scratch prefix as an ordinary user: all checks passed"
