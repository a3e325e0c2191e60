#!/usr/bin/env bash
# Sets up a fresh machine, builds everything once and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/dizo-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
cmake --preset ci
cmake --build --preset ci -j 2
ctest --preset ci
