#!/usr/bin/env bash
# Installs what the programs need, builds only the window and the renderer, and starts the window.
# Tests and benchmarks are left for scripts/test.sh, so the window appears in a minute or two.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh --programs
exec build/newyear-card "$@"
