#!/usr/bin/env bash
# Configures and builds the Release tree in build/. With --programs, only the window and the
# renderer (what scripts/run.sh needs); otherwise everything, tests and benchmarks included, with
# warnings as errors (what scripts/test.sh needs). Extra arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=()
if [ "${1:-}" = "--programs" ]; then
  shift
  targets=(--target newyear-card newyear-card-render)
  # Configured once; a second run only checks that the programs are up to date.
  [ -f build/CMakeCache.txt ] || cmake --preset release "$@" >/dev/null
else
  # Configured every time (a few seconds): a tree first made by run.sh, before the test libraries
  # were installed, then finds them, and warnings stay errors.
  cmake --preset release -DCARD_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
fi
cmake --build --preset release -j "$(nproc)" "${targets[@]}"
