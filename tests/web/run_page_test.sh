#!/usr/bin/env bash
# The page in a real browser: tests/web/run_page_test.sh PAGE_DIR RENDERER [--screenshot FILE]
#   PAGE_DIR  the built page (build-web/page, from cmake --build --preset web)
#   RENDERER  the headless renderer of a native build (build/newyear-card-render)
# Builds and installs nothing but the pinned puppeteer-core (npm ci, offline when cached); exits
# 77 (skipped) when Chromium, Node.js, npm or Emscripten are missing or the page is not built.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

if [ $# -lt 2 ]; then
  echo "usage: $0 PAGE_DIR RENDERER [--screenshot FILE]" >&2
  exit 2
fi
for tool in chromium node npm emcc; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (apt-get install chromium nodejs npm emscripten)"
    exit 77
  fi
done
# The page is built by its own preset, which a plain Release build does not run: a missing page
# skips the test and says how to build it. A missing renderer is a fault of this build.
if [ ! -e "$1/index.html" ] || [ ! -e "$1/card_core.wasm" ]; then
  echo "SKIP: the web page is not built in $1: build the web preset first" \
    "(scripts/build-web.sh, or cmake --preset web && cmake --build --preset web)"
  exit 77
fi
if [ ! -x "$2" ]; then
  echo "missing $2: build the release preset first (cmake --build --preset release)" >&2
  exit 1
fi
page_dir="$(realpath "$1")"
renderer="$(realpath "$2")"
shift 2
extra=()
if [ $# -ge 2 ] && [ "$1" = "--screenshot" ]; then extra=(--screenshot "$(realpath -m "$2")"); fi

cd "$here"
# Never a browser download: the test drives Debian's Chromium.
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
exec node page_test.mjs "$page_dir" "$renderer" "${extra[@]}"
