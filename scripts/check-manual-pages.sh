#!/usr/bin/env bash
# Checks that lavodc-cli.1 in MAN_FOLDER has a section for every command and mentions every
# option that `lavodc-cli`'s usage lists, so that a command or option added to the tool without
# its page is caught. (How groff reads the pages is lintian's check, in check-package.sh.)
set -euo pipefail
cli=${1:?usage: check-manual-pages.sh LAVODC-CLI MAN_FOLDER}
man=${2:?usage: check-manual-pages.sh LAVODC-CLI MAN_FOLDER}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

usage=$("$cli" 2>&1 >/dev/null || true)
[ -n "$usage" ] || fail "lavodc-cli printed no usage"
page="$man/lavodc-cli.1"
while read -r command; do
  grep -q "^\.SS \"$command\b" "$page" || fail "lavodc-cli.1 has no section for the command $command"
done < <(sed -n 's/^ *\(usage: \)\{0,1\}lavodc-cli \([a-z][a-z-]*\).*/\2/p' <<<"$usage" | sort -u)
while read -r option; do
  grep -q -- "${option//-/\\\\-}" "$page" || fail "lavodc-cli.1 does not mention $option"
done < <(grep -o -- '--[a-z][a-z-]*' <<<"$usage" | sort -u)

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "manual pages: all checks passed"
