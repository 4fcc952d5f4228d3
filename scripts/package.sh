#!/usr/bin/env bash
# Builds the Debian package lavodc_<version>_amd64.deb in the checkout's top folder from a
# clean Release build (build-package/), then lists and checks it with check-package.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

rm -rf build-package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DLAVODC_BENCH=OFF
# Only what the package holds; the tests are built and run by scripts/test.sh.
cmake --build build-package -j "$(nproc)" --target lavodc lavodc-cli infovane lavodc_template lavodc_docs
(cd build-package && cpack -G DEB)
rm -f lavodc_*.deb
cp build-package/lavodc_*.deb .
scripts/check-package.sh lavodc_*.deb
