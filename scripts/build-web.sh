#!/usr/bin/env bash
# Configures (once) and builds the web page in build-web/page with Debian's Emscripten.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build-web/CMakeCache.txt ]; then
  cmake --preset web >/dev/null
fi
cmake --build --preset web
