#!/usr/bin/env bash
# Builds the Debian package from the Release tree, installs it as a user would, makes one card with
# the installed renderer and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

rm -f build/newyear-card_*.deb
cpack --preset deb >/dev/null
package=$(ls build/newyear-card_*.deb)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "./$package" >/dev/null
trap 'DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -qq newyear-card >/dev/null' EXIT

work=$(mktemp -d)
/usr/bin/newyear-card-render --help >"$work/help.txt"
grep -q -- "--name" "$work/help.txt"
/usr/bin/newyear-card-render --name "ana marija" --out "$work/card.bmp"
build/newyear-card-render --name "ana marija" --out "$work/expected.bmp"
cmp "$work/card.bmp" "$work/expected.bmp"
test -f /usr/share/applications/newyear-card.desktop
test -f /usr/share/icons/hicolor/256x256/apps/newyear-card.png
rm -rf "$work"
echo "package: $(basename "$package") installs, makes the same card and is removed again"
