#!/usr/bin/env bash
# The renderer built with ThreadSanitizer: a batch with two jobs of two threads each and one card
# on two threads must run without a report. What ThreadSanitizer cannot see into is named, with the
# reason, in the suppressions file.
#
#   tests/renderer/render_tsan_test.sh build-tsan/newyear-card-render tests/renderer/tsan.supp
set -u
render=${1:?usage: render_tsan_test.sh PATH/TO/newyear-card-render SUPPRESSIONS}
suppressions=$(realpath "${2:?usage: render_tsan_test.sh PATH/TO/newyear-card-render SUPPRESSIONS}")
work=$(mktemp -d "${TMPDIR:-/tmp}/render-tsan-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TSAN_OPTIONS="suppressions=$suppressions halt_on_error=1 exitcode=66 report_signal_unsafe=0"

failed=0
printf 'ab\nba\nana novak\nAna\nsrecno novo leto\n' >"$work/names.txt"
while read -r expected args; do
  eval "\"\$render\" $args" >"$work/out.txt" 2>"$work/err.txt"
  status=$?
  if [ "$status" -ne "$expected" ] || grep -q ThreadSanitizer "$work/err.txt"; then
    echo "FAIL: $args: exit status $status, expected $expected" >&2
    sed 's/^/    /' "$work/err.txt" | head -80 >&2
    failed=1
  fi
done <<TABLE
2 --names "$work/names.txt" --out-dir "$work/batch" --jobs 2 --threads 2 --format bmp
2 --names - --out-dir "$work/stdin" --jobs 2 --threads 2 <"$work/names.txt"
2 --names "$work/names.txt" --out-dir "$work/named" --jobs 2 --file-names name --manifest "$work/named.csv"
0 --name "ana novak" --threads 2 --out "$work/one.png" --recipe "$work/one.json"
TABLE
cards=$(ls "$work/batch" | wc -l)
if [ "$cards" -ne 4 ]; then
  echo "FAIL: the batch made $cards cards, not 4" >&2
  failed=1
fi
[ "$failed" -eq 0 ] && echo "render_tsan: no reports"
exit "$failed"
