#!/usr/bin/env bash
# Start-up to the first shown window, and resident memory once it is up, of the Windows program
# under Wine, beside a bare Win32 window started the same way. Prints a table; not a test.
# Usage: scripts/windows-startup.sh PROGRAM.exe BARE.exe [RUNS]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$1"; bare="$2"; runs="${3:-5}"
T="$(mktemp -d /tmp/dizo-startup.XXXXXX)"
xvfb=""
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; wineserver -k </dev/null >/dev/null 2>&1; rm -rf "$T"; }
trap cleanup EXIT
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$T/display" </dev/null >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$T/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$T/display")"
# A fresh prefix of the shared set-up, let settle, then one server kept running, so every start
# pays only for itself.
WINEPREFIX="$T/prefix" bash "$root/scripts/wine/prefix.sh" && WINEPREFIX="$T/prefix" wineserver -w </dev/null >/dev/null 2>&1
source "$root/scripts/wine/session.sh" "$T/prefix"
trap cleanup EXIT
# Milliseconds of a monotonic clock (10 ms steps).
now_ms() { local up; read -r up _ </proc/uptime; echo $(( ${up/./} * 10 )); }

measure() {  # measure EXE CAPTION: prints milliseconds to a viewable window, and VmRSS in kB
  local exe="$1" caption="$2" start id pid rss
  start=$(now_ms)
  wine "$exe" </dev/null >/dev/null 2>&1 &
  local launcher=$!
  until id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$caption\":" | awk '{print $1}') && [ -n "$id" ] &&
        xwininfo -id "$id" 2>/dev/null | grep -q IsViewable; do sleep 0.01; done
  local ms=$(( $(now_ms) - start ))
  sleep 1
  # The Windows process is the Linux process Wine names after the program (15 characters at most).
  local name; name=$(basename "$exe"); name=${name:0:15}
  pid=$(for p in /proc/[0-9]*; do [ "$(cat "$p/comm" 2>/dev/null)" = "$name" ] && basename "$p"; done | head -1)
  rss=$(awk '/VmRSS/{print $2}' "/proc/$pid/status" 2>/dev/null)
  kill "$launcher" 2>/dev/null; [ -n "$pid" ] && kill "$pid" 2>/dev/null
  wait "$launcher" 2>/dev/null; sleep 0.5
  echo "$ms ${rss:-0}"
}
for which in program bare; do
  exe=$([ $which = program ] && echo "$program" || echo "$bare")
  caption=$([ $which = program ] && echo "Dizo Chat por QD4RV " || echo "Bare window")
  measure "$exe" "$caption" >/dev/null  # the first start warms the file cache
  for _ in $(seq 1 "$runs"); do measure "$exe" "$caption"; done | sort -n |
    awk -v w=$which '{ms[NR]=$1; rss+=$2} END {printf "%-8s median %5d ms  min %5d ms  max %5d ms  RSS %6d kB (%d runs)\n", w, ms[int((NR+1)/2)], ms[1], ms[NR], rss/NR, NR}'
done
