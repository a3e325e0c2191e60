#!/usr/bin/env bash
# Makes $WINEPREFIX ready for our tests, once: a fresh prefix of the kind env.sh chose in which
# a crashing program exits non-zero at once, windows close without a 2 s wait under Xvfb with
# no window manager, and the classic Windows font names map to the Liberation fonts our Linux
# engine uses. Every Wine process it starts gets /dev/null for its streams, so no lingering
# wineserver or service keeps the caller's pipes (CTest's, for one) open.
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the private prefix}"
source "$(dirname "$0")/env.sh"
marker="$WINEPREFIX/.dizo-ready-$DIZO_WINE_ARCH"
[ -f "$marker" ] && exit 0

mkdir -p "$WINEPREFIX"
wineboot -i </dev/null >/dev/null 2>&1
reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg"' EXIT
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"="nodebugger.exe"
"Auto"="1"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"Times New Roman"="Liberation Serif"
"MS Sans Serif"="Liberation Sans"
"Microsoft Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"
"Courier New"="Liberation Mono"
REG
wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
touch "$marker"
