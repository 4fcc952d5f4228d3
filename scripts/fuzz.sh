#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) in build-fuzz/ and runs
# each for SECONDS (60 unless given), keeping what it finds in build-fuzz/fuzz/corpus/. A crash
# stops with the input saved as build-fuzz/fuzz/crash-TARGET-*; such an input belongs in
# fuzz/regressions/TARGET/ once it is mended, where the test command runs it every time.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLAVODC_CORE_ONLY=ON -DLAVODC_FUZZ=ON > /dev/null
cmake --build build-fuzz -j "$(nproc)"
build-fuzz/bin/fuzz_seeds build-fuzz/fuzz/seeds

for target in fuzz_sheet_file fuzz_ini_file fuzz_sheet_json fuzz_line_breaker fuzz_edit_mask \
              fuzz_csv_import fuzz_xlsx_list; do
  inputs=(build-fuzz/fuzz/corpus/$target build-fuzz/fuzz/seeds/$target)
  [ -d fuzz/regressions/$target ] && inputs+=(fuzz/regressions/$target)
  max_len=4096
  [ "$target" = fuzz_xlsx_list ] && max_len=16384   # the export's own workbook is 4 to 8 KB
  echo "== $target, $seconds s"
  status=0
  build-fuzz/bin/$target -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/fuzz/crash-$target-" "${inputs[@]}" > "build-fuzz/fuzz/$target.log" 2>&1 || status=$?
  grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb|ERROR|SUMMARY|artifact" "build-fuzz/fuzz/$target.log" || true
  [ "$status" -eq 0 ] || { echo "$target found a fault: build-fuzz/fuzz/$target.log" >&2; exit 1; }
done
