#!/usr/bin/env bash
# The renderer on an emulated processor without AVX or FMA (qemu's Nehalem model) must start, pick
# its narrower maths and paint exactly the card this machine paints.
#
#   tests/renderer/older_processor_test.sh build/newyear-card-render
set -u
render=$(realpath "${1:?usage: older_processor_test.sh PATH/TO/newyear-card-render}")
if ! command -v qemu-x86_64 >/dev/null; then
  echo "older_processor_test: qemu-x86_64 is missing (Debian package qemu-user)" >&2
  exit 77
fi
if [ "$(uname -m)" != x86_64 ]; then
  echo "older_processor_test: only meaningful on x86-64" >&2
  exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/older-processor.XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=0
for name in "ana marija" "janez novak" ""; do
  "$render" --name "$name" --out "$work/native.bmp" || { echo "FAIL: native '$name'"; failed=1; }
  if ! qemu-x86_64 -cpu Nehalem "$render" --name "$name" --out "$work/old.bmp" 2>"$work/err.txt"; then
    echo "FAIL: the renderer did not run on the older processor for '$name':" >&2
    cat "$work/err.txt" >&2
    failed=1
  elif ! cmp -s "$work/native.bmp" "$work/old.bmp"; then
    echo "FAIL: the older processor painted another card for '$name'" >&2
    failed=1
  fi
done
[ $failed -eq 0 ] && echo "older processor: same cards"
exit $failed
