#!/usr/bin/env bash
# Builds the Debian package from the Release tree and checks it as Debian would (lintian, pedantic,
# with no error and no warning), checks its menu entry and software-centre data, installs it as a
# user would, makes one card and one video with the installed renderer, asks the installed window program for
# its version and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

rm -f build/newyear-card_*.deb
cpack --preset deb >/dev/null
package=$(ls build/newyear-card_*.deb)

# lintian prints one line per finding: errors (E:) and warnings (W:) fail; pedantic (P:) and
# informational (I:) findings are shown for a look.
lintian_status=0
lintian --pedantic --display-info --tag-display-limit 0 --fail-on error,warning "$package" \
  >build/lintian.log 2>&1 || lintian_status=$?
grep -v "running with root privileges" build/lintian.log || true
if [ "$lintian_status" -ne 0 ]; then
  echo "package: lintian found errors or warnings (status $lintian_status)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$package" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/newyear-card.desktop"
# Offline: the screenshot and home page are addresses of whoever hands the cards out.
appstreamcli validate --no-net --pedantic "$work"/root/usr/share/metainfo/*.metainfo.xml >/dev/null
# The metainfo together with the menu entry and icons it names.
appstreamcli validate-tree --no-net --pedantic "$work/root" >/dev/null

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "./$package" >/dev/null
trap 'DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y -qq newyear-card >/dev/null;
  rm -rf "$work"' EXIT

/usr/bin/newyear-card-render --help >"$work/help.txt"
grep -q -- "--name" "$work/help.txt"
/usr/bin/newyear-card-render --name "ana marija" --out "$work/card.bmp"
build/newyear-card-render --name "ana marija" --out "$work/expected.bmp"
cmp "$work/card.bmp" "$work/expected.bmp"
# The video, through the FFmpeg libraries the package depends on.
/usr/bin/newyear-card-render --name "ana marija" --video "$work/card.mp4"
test -s "$work/card.mp4"
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/newyear-card --version | grep -q "License MIT"
for size in 48x48 64x64 128x128 256x256; do
  test -f "/usr/share/icons/hicolor/$size/apps/newyear-card.png"
done
test -f /usr/share/icons/hicolor/scalable/apps/newyear-card.svg
man -w newyear-card newyear-card-render >/dev/null 2>&1 || test -f /usr/share/man/man1/newyear-card.1.gz
echo "package: $(basename "$package") passes lintian, installs, makes the same card and is removed again"
