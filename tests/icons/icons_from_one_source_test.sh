#!/usr/bin/env bash
# Every PNG icon is the SVG icon drawn at its size, so the desktop shows one picture at every size
# it asks for. Regenerate after changing the SVG:
#   for s in 48 64 128; do rsvg-convert -w $s -h $s data/icons/scalable/newyear-card.svg \
#     -o data/icons/${s}x${s}/newyear-card.png; done
#   rsvg-convert -w 256 -h 256 data/icons/scalable/newyear-card.svg -o data/newyear-card.png
set -uo pipefail
data=${1:?usage: icons_from_one_source_test.sh DATA_FOLDER}
for tool in rsvg-convert compare; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed; skipped"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
for entry in 48:icons/48x48/newyear-card.png 64:icons/64x64/newyear-card.png \
  128:icons/128x128/newyear-card.png 256:newyear-card.png; do
  size=${entry%%:*}
  png=$data/${entry#*:}
  rsvg-convert -w "$size" -h "$size" "$data/icons/scalable/newyear-card.svg" -o "$work/drawn.png"
  # A few pixels may round differently with another version of the SVG renderer.
  differing=$(compare -metric AE -fuzz 2% "$png" "$work/drawn.png" null: 2>&1)
  if ! [[ $differing =~ ^[0-9.e+]+$ ]] || [ "$(printf '%.0f' "$differing")" -gt $((size * size / 100)) ]; then
    echo "FAIL: $png is not the SVG drawn at $size x $size ($differing pixels differ)"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] || exit 1
echo "every PNG icon is the SVG icon at its size"
