#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit, window, renderer, end-to-end
# and web page tests of the Release build, the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets of the input readers for a bounded number of runs,
# the renderer's batches under ThreadSanitizer, the Debian package installed and used, and the
# formatting check. Every tree is built with warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
scripts/build.sh
scripts/build-web.sh -DCARD_WARNINGS_AS_ERRORS=ON
ctest --preset release

cmake --preset sanitize -DCARD_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build --preset sanitize -j "$(nproc)"
ctest --preset sanitize

for preset in fuzz tsan; do
  cmake --preset "$preset" -DCARD_WARNINGS_AS_ERRORS=ON >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
  ctest --preset "$preset"
done

scripts/test-package.sh
scripts/check-format.sh
