#!/usr/bin/env bash
# Builds the web page (installing Emscripten from Debian when it is missing) and serves it on
# http://127.0.0.1:8000/ until interrupted. PORT=8080 scripts/serve-web.sh serves elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for package in cmake make emscripten python3; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

scripts/build-web.sh
port="${PORT:-8000}"
echo "Serving the card page on http://127.0.0.1:${port}/ (Ctrl-C stops)"
# python's server sends .wasm as application/wasm, which streaming compilation needs.
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/page
