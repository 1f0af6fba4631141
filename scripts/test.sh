#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and window tests of the Release
# build, the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# formatting check.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j "$(nproc)")

if [ ! -f build-sanitize/CMakeCache.txt ]; then
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCARD_SANITIZE=ON -DCARD_WITH_QT=OFF \
    -DCARD_WITH_BENCH=OFF >/dev/null
fi
cmake --build build-sanitize -j "$(nproc)" --target card_unit_tests
(cd build-sanitize && ctest --output-on-failure -j "$(nproc)")

scripts/check-format.sh
