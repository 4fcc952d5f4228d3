#!/usr/bin/env bash
# Whole-process figure of the window program opening a sheet named on its command line, as the
# desktop starts it: wall and processor seconds from the start until the program is idle with
# the sheet shown (no processor time for one second), on a private X server (Xvfb).
# Usage: bench/window_open_figures.sh SHEET.Lvo (LAVODC names the program, build/bin/lavodc
# by default; it runs in a copy of its folder, so that no settings or recovery copy interfere).
set -euo pipefail
cd "$(dirname "$0")/.."
program=${LAVODC:-build/bin/lavodc}
sheet=$(realpath "$1")
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cp -a "$(dirname "$program")" "$work/bin"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1

ticks=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now() { date +%s.%N; }

start=$(now)
DISPLAY=$display TMPDIR=$work XDG_RUNTIME_DIR=$work "$work/bin/$(basename "$program")" "$sheet" >/dev/null 2>&1 &
app=$!
last=$(cpu "$app")
busy=$start
while :; do
    sleep 0.1
    used=$(cpu "$app")
    if [ "$used" != "$last" ]; then
        last=$used
        busy=$(now)
    elif awk -v n="$(now)" -v b="$busy" 'BEGIN { exit !(n - b >= 1.0) }'; then
        break
    fi
done
awk -v b="$busy" -v s="$start" -v c="$last" -v t="$ticks" \
    'BEGIN { printf "window open: %.2f s wall, %.2f s processor\n", b - s, c / t }'
