#!/bin/sh
# Runs the card tests with the maths forced to one vector width:
#   cards_at_width.sh WIDTH PROGRAM ARGUMENTS...
# A width that needs instructions this processor lacks is skipped (77): the program would fall
# back to its widest width and test that one a second time.
width=$1
shift
case $width in
  avx) needed=avx ;;
  avx512) needed=avx512f ;;
  *) needed= ;;
esac
if [ -n "$needed" ] && ! grep -qw "$needed" /proc/cpuinfo; then
  echo "this processor has no $needed: the $width width is not tested here"
  exit 77
fi
CARD_MATHS_WIDTH=$width exec "$@"
