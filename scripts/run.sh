#!/usr/bin/env bash
# Installs what is missing, builds lavodc and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAVODC_BENCH=OFF
cmake --build build --target lavodc
exec build/bin/lavodc
