#!/usr/bin/env bash
# One Wine session for a whole test run, outside CTest: `source scripts/wine/session.sh PREFIX`
# starts a persistent wineserver, makes the prefix (prefix.sh) and starts its services, and
# stops the server when the sourcing shell exits. A server or service started inside CTest would
# hold CTest's pipes open and CTest would wait for it forever; run.sh sees DIZO_WINE_KEEP_SERVER
# and leaves the server alone.
_dizo_session_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$_dizo_session_dir/env.sh"
export WINEPREFIX="${1:?usage: source scripts/wine/session.sh PREFIX}" DIZO_WINE_KEEP_SERVER=1
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
"$_dizo_session_dir/prefix.sh"
wineboot -i </dev/null >/dev/null 2>&1
