#!/usr/bin/env bash
# Runs one Windows program under Wine on a desktop of its own that uses Wine's display-less
# driver, for tests that make real windows, focus and the dialog manager without an X server:
#   run-desktop.sh [--default-prefix DIR] PROGRAM.exe ARGS...
# Each run has its own desktop, so parallel tests never take each other's focus. The program's
# exit status is lost on the way (explorer's is returned): judge such tests by their output.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
prefix=()
if [ "${1:-}" = --default-prefix ]; then
  prefix=(--default-prefix "$2")
  shift 2
fi
exec "$here/run.sh" "${prefix[@]}" explorer "/desktop=dizo-tests-$$,1024x768,null" "$@"
