#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the whole program first, then the core again under AddressSanitizer and UBSan, then the fuzz
# targets (clang, libFuzzer) for a bounded number of runs each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLAVODC_CORE_ONLY=ON -DLAVODC_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAVODC_CORE_ONLY=ON -DLAVODC_FUZZ=ON
cmake --build build-fuzz -j "$jobs"
(cd build-fuzz && ctest --output-on-failure -j "$jobs")
