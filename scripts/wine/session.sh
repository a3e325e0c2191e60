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
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
# A prefix made under the server the tests then use leaves Wine's service manager locked:
# RpcSs never starts and every COM activation waits for good. So the prefix is made under a
# server of its own, and the session's server starts only after that one has gone.
if [ ! -f "$WINEPREFIX/.dizo-ready-$DIZO_WINE_ARCH" ]; then
  "$_dizo_session_dir/prefix.sh"
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
fi
wineserver -p </dev/null >/dev/null 2>&1 || true
wineboot -i </dev/null >/dev/null 2>&1
