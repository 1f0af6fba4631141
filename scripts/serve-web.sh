#!/usr/bin/env bash
# Builds the web page (installing Emscripten from Debian when it is missing) and serves it on
# http://127.0.0.1:8000/ until interrupted. PORT=8080 scripts/serve-web.sh serves elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --web
scripts/build-web.sh
port="${PORT:-8000}"
echo "Serving the card page on http://127.0.0.1:${port}/ (Ctrl-C stops)"
# python's server sends .wasm as application/wasm, which streaming compilation needs.
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/page
