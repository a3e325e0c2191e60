#!/usr/bin/env bash
# Runs one Windows program under Wine, for CTest (the cross build's emulator) and by hand:
#   run.sh [--default-prefix DIR] PROGRAM.exe ARGS...
# The prefix is $WINEPREFIX when set (scripts/test.sh sets one up for the whole run), else DIR.
# Without a session set up beforehand this starts a short-lived server of its own, detached
# from our streams, so that CTest is not left waiting for it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
default=""
if [ "${1:-}" = --default-prefix ]; then
  default="$2"
  shift 2
fi
source "$here/env.sh"
export WINEPREFIX="${WINEPREFIX:-${default:?set WINEPREFIX or pass --default-prefix}}"
if [ -z "${DIZO_WINE_KEEP_SERVER:-}" ]; then
  mkdir -p "$WINEPREFIX"
  wineserver -p5 </dev/null >/dev/null 2>&1 || true
  "$here/prefix.sh"
fi
exec wine "$@"
