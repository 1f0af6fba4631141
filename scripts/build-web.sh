#!/usr/bin/env bash
# Configures and builds the web page in build-web/page with Debian's Emscripten. Arguments go to
# the configure step (scripts/test.sh gives -DCARD_WARNINGS_AS_ERRORS=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build-web/CMakeCache.txt ] || [ $# -gt 0 ]; then
  cmake --preset web "$@" >/dev/null
fi
cmake --build --preset web
