#!/usr/bin/env bash
# The one list of what each command installs from Debian 12, by purpose:
#   scripts/install-deps.sh           what building and running the two programs needs (run.sh)
#   scripts/install-deps.sh --tests   that, and what building and running every test needs (test.sh)
#   scripts/install-deps.sh --web     what building and serving the web page needs (serve-web.sh)
# Does nothing when they are all there already.
set -euo pipefail

programs=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-dejavu-core nlohmann-json3-dev libsleef-dev libdeflate-dev
  libavcodec-dev libavformat-dev libavutil-dev
)
web=(cmake make emscripten python3)
tests=(
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  clang-format clang libclang-rt-14-dev libfreetype-dev
  xvfb xauth xdotool xclip x11-utils imagemagick python3 python3-pil bash-completion librsvg2-bin
  qemu-user ffmpeg
  lintian desktop-file-utils appstream
  chromium
)

case "${1:-}" in
  "") packages=("${programs[@]}") ;;
  --web) packages=("${web[@]}") ;;
  --tests)
    packages=("${programs[@]}" "${web[@]}" "${tests[@]}")
    # The page test runs on Node.js with npm; a newer one already on the machine will do.
    if ! command -v node >/dev/null || ! command -v npm >/dev/null; then packages+=(nodejs npm); fi
    ;;
  *)
    echo "usage: install-deps.sh [--tests | --web]" >&2
    exit 2
    ;;
esac

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
