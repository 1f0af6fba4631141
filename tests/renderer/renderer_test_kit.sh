# What the renderer's shell tests share; sourced after `render` (the renderer) and `test_name` are
# set. Counts the checks, runs the renderer and reads what it said.

python=/usr/bin/python3

# Ends the test as skipped (exit status 77) where Debian's Python has no Pillow (python3-pil).
need_pillow() {
  if ! "$python" -c 'import PIL' 2>/dev/null; then
    echo "$test_name: skipped: $python cannot import PIL; install python3-pil" >&2
    exit 77
  fi
}

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAIL: $*" >&2
}

# Runs the renderer; leaves the exit status in $status and what it printed in out.txt and err.txt.
status=0
run() {
  "$render" "$@" >out.txt 2>err.txt
  status=$?
}
run_stdin() {
  local input=$1
  shift
  "$render" "$@" <"$input" >out.txt 2>err.txt
  status=$?
}
said() { grep -qiE -- "$1" err.txt; }
show_err() { sed 's/^/    /' err.txt >&2; }

# The last line of a test: its counts, and its exit status.
report() {
  echo "$test_name: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
