#!/usr/bin/env bash
# Installs the Debian 12 packages that building and running need and, with --tests, those that the
# tests need as well; with --web only those that building and serving the web page need. Does
# nothing when they are all there already.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev fonts-dejavu-core nlohmann-json3-dev libsleef-dev libdeflate-dev
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
)
if [ "${1:-}" = "--web" ]; then
  packages=(cmake make emscripten python3)
elif [ "${1:-}" = "--tests" ]; then
  packages+=(
    clang-format clang libclang-rt-14-dev libfreetype-dev
    xvfb xauth xdotool x11-utils imagemagick python3 python3-pil
    qemu-user ffmpeg
    lintian desktop-file-utils appstream
    emscripten chromium
  )
  # The page test runs on Node.js with npm; a newer one already on the machine will do.
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then packages+=(nodejs npm); fi
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
