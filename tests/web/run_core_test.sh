#!/usr/bin/env bash
# The page's WebAssembly core under Node against the renderer, whole cards of random names:
#   tests/web/run_core_test.sh PAGE_DIR RENDERER [NAMES [SEED]]
# Exits 77 (skipped) when Node.js is missing or the page is not built (the web preset).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

if [ $# -lt 2 ]; then
  echo "usage: $0 PAGE_DIR RENDERER [NAMES [SEED]]" >&2
  exit 2
fi
if ! command -v node >/dev/null; then
  echo "SKIP: node is not installed (apt-get install nodejs)"
  exit 77
fi
if [ ! -e "$1/card_core.mjs" ] || [ ! -e "$1/card_core.wasm" ]; then
  echo "SKIP: the web page is not built in $1: build the web preset first" \
    "(scripts/build-web.sh, or cmake --preset web && cmake --build --preset web)"
  exit 77
fi
if [ ! -x "$2" ]; then
  echo "missing $2: build the release preset first (cmake --build --preset release)" >&2
  exit 1
fi
exec node "$here/core_test.mjs" "$@"
