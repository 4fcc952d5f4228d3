#!/usr/bin/env bash
# Whole-process figures of lavodc-cli on a generated sheet of many workers (100000 unless given):
# wall time and peak memory of `dump` of the sheet and of `build` from that dump's JSON, measured
# with /usr/bin/time -v. Usage: bench/scale_figures.sh [WORKERS] (LAVODC_CLI names the tool).
#
# Targets for 100000 workers, in processor seconds (user and system: the wall time of a shared
# machine varies by a third from hour to hour): `dump` 0.25 s and `build` 0.5 s at most, each
# within 80 MB. Measured on the 2-core build machine with a RelWithDebInfo build: dump 0.12 to
# 0.13 s and 59 MB, build 0.18 s and 61 MB (before the quick reader and writer: dump 0.26 to
# 0.46 s and 75 MB, build 1.03 to 1.13 s and 73 MB).
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${LAVODC_CLI:-build/bin/lavodc-cli}
workers=${1:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Names, jobs and addresses vary so that sorting has work to do; days follow the row number.
awk -v n="$workers" 'BEGIN {
    split("김 이 박 최 정 강 조 윤 장 임", family, " ");
    split("민준 서연 도윤 하은 시우 지유 주원 서윤 예준 하린", given, " ");
    split("보통인부 철근공 형틀목공 미장공 전기공", job, " ");
    printf "{\n  \"header\": {\"gsName\": \"대규모 현장\", \"gsyear\": \"2024\", \"gmonth\": \"05\", \"cmpTel\": \"02-123-4567\"},\n  \"workers\": [\n";
    for (i = 0; i < n; i++) {
        printf "    {\"pName\": \"%s%s%d\", \"JmnNo\": \"900101-1%06d\", \"nName\": \"%s\", ", family[i % 10 + 1], given[int(i / 10) % 10 + 1], i % 97, i % 1000000, job[i % 5 + 1];
        printf "\"nAddr\": \"서울특별시 중구 세종대로 %d길 %d\", \"nTel\": \"(010)1234-%04d\", \"nDay\": 8, \"SmMny\": %d", i % 300, i % 50, i % 10000, 100000 + i;
        for (d = 1; d <= 31; d++)
            if ((i + d) % 3 == 0)
                printf ", \"d%02d\": \"√\"", d;
        printf "}%s\n", (i + 1 < n ? "," : "");
    }
    printf "  ]\n}\n";
}' > "$work/generated.json"
"$cli" build "$work/generated.json" "$work/sheet.Lvo"

# Runs a command under /usr/bin/time -v; prints wall seconds, processor seconds (user and system:
# what the wall time comes to on an idle machine) and peak megabytes.
measure() {
    /usr/bin/time -v "$@" 2> "$work/time.txt" > "$work/stdout" || { cat "$work/time.txt" >&2; exit 1; }
    local wall rss user sys
    wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
    rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
    user=$(sed -n 's/.*User time (seconds): //p' "$work/time.txt")
    sys=$(sed -n 's/.*System time (seconds): //p' "$work/time.txt")
    awk -v w="$wall" -v r="$rss" -v u="$user" -v s="$sys" 'BEGIN {
        n = split(w, p, ":"); t = 0; for (i = 1; i <= n; i++) t = t * 60 + p[i];
        printf "%.2f s wall, %.2f s processor, %.0f MB", t, u + s, r / 1024 }'
}

printf 'sheet of %s workers: %s bytes\n' "$workers" "$(stat -c %s "$work/sheet.Lvo")"
printf 'dump : %s (target for 100000 workers: 0.25 s processor, 80 MB)\n' "$(measure "$cli" dump "$work/sheet.Lvo")"
cp "$work/stdout" "$work/dump.json"
printf 'build: %s (target for 100000 workers: 0.50 s processor, 80 MB)\n' \
    "$(measure "$cli" build "$work/dump.json" "$work/rebuilt.Lvo")"
