#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need; does nothing when they
# are all there already.
set -euo pipefail

packages=(
  cmake g++ make clang-format
  qt6-base-dev fonts-dejavu-core nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsleef-dev pkg-config
  xvfb xauth xdotool x11-utils imagemagick python3 python3-pil qemu-user
)

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
