#!/usr/bin/env bash
# The window program's command line, with no display at all: --help and --version answer on
# standard output without a window, a failed write of them is an error, and without a display
# (none named, or one that does not answer) the program says so and ends with status 1.
# Usage: command_line_test.sh PATH/TO/newyear-card
set -uo pipefail
program=${1:?usage: command_line_test.sh PATH/TO/newyear-card}
work=$(mktemp -d "${TMPDIR:-/tmp}/window-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

# The file holds a line matching the pattern, or is empty when the pattern is "nothing".
holds() {
  if [ "$2" = nothing ]; then [ ! -s "$1" ]; else grep -Eq -- "$2" "$1"; fi
}

# check NAME STATUS STDOUT-PATTERN STDERR-PATTERN [VAR=VALUE...] -- ARGUMENTS...
# Runs the program without any display setting but the VAR=VALUEs given.
check() {
  local name=$1 want_status=$2 want_out=$3 want_err=$4
  shift 4
  local settings=()
  while [ "$1" != -- ]; do settings+=("$1"); shift; done
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${settings[@]}" \
    timeout 20 "$program" "$@" >"$work/out" 2>"$work/err" </dev/null
  local status=$?
  if [ "$status" -ne "$want_status" ] || ! holds "$work/out" "$want_out" ||
    ! holds "$work/err" "$want_err"; then
    echo "FAIL: $name: status $status (expected $want_status)"
    echo "--- stdout"; head -n 5 "$work/out"
    echo "--- stderr"; head -n 5 "$work/err"
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
}

check "--help answers on stdout" 0 '^Usage: newyear-card \[OPTION\]' nothing -- --help
check "-h is --help" 0 '^Usage: newyear-card' nothing -- -h
check "--version names the version" 0 '^newyear-card [0-9]+\.[0-9]+' nothing \
  -- --version
check "--version names the licence" 0 'License MIT' nothing -- --version
check "--help after Qt's options" 0 '^Usage:' nothing -- -style fusion --help
check "no display named" 1 nothing 'cannot open the window: no display \(neither DISPLAY' --
check "a display that does not answer" 1 nothing 'no display could be opened \(DISPLAY=:97\)' \
  DISPLAY=:97 --
if [ -w /dev/full ]; then
  env -u DISPLAY "$program" --help >/dev/full 2>"$work/err"
  status=$?
  if [ "$status" -eq 1 ] && grep -q "write error" "$work/err"; then
    echo "ok: --help onto a full disk is an error"
  else
    echo "FAIL: --help onto a full disk: status $status"
    failures=$((failures + 1))
  fi
fi
[ "$failures" -eq 0 ]
