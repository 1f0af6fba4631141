#!/usr/bin/env bash
# Fails when a C++ file is not formatted as .clang-format says. Without clang-format it only warns,
# except on CI (CI=true), where an unchecked format must not pass.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  if [ "${CI:-}" = true ]; then
    echo "clang-format not installed; the format cannot be checked" >&2
    exit 1
  fi
  echo "clang-format not installed; format not checked"
  exit 0
fi
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "formatting: ok"
