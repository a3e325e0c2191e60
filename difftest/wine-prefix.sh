#!/usr/bin/env bash
# Makes $WINEPREFIX ready for the differential tests, once: a fresh 64-bit prefix in which a
# crashing program exits non-zero, and the classic Windows font names map to Liberation fonts.
# Every Wine process it starts gets /dev/null for its streams, so no lingering wineserver or
# service keeps the caller's pipes (CTest's, for one) open.
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the private prefix}"
export WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko installers: they would ask for a display and wait for an answer.
export WINEDLLOVERRIDES="mscoree,mshtml="
marker="$WINEPREFIX/.dizo-ready"
[ -f "$marker" ] && exit 0

mkdir -p "$WINEPREFIX"
wineboot -i </dev/null >/dev/null 2>&1
reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg"' EXIT
# Without "nodebugger" a crash under Wine can end with exit code 0.
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"="nodebugger.exe"
"Auto"="1"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"Times New Roman"="Liberation Serif"
"MS Sans Serif"="Liberation Sans"
"Microsoft Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"
"Courier New"="Liberation Mono"
REG
wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
touch "$marker"
