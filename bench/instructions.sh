#!/usr/bin/env bash
# Instructions a call of one function while a benchmark runs, counted by callgrind: on a machine
# shared with other work these counts stay put where CPU times move by half.
# usage: bench/instructions.sh BENCHMARK_PROGRAM FILTER [FUNCTION]
#   FUNCTION defaults to the button's Refresh (one whole redraw); its calls are counted too.
set -euo pipefail
program="$1" filter="$2" function="${3:-buttons::qkButtons_H::Refresh()}"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
# Valgrind counts each byte of a "rep movsb" as an instruction, and glibc's memcpy moves blocks of
# a few KB that way (a whole face of 24 KB is 24k "instructions" though it is one of the fastest
# parts of a redraw): keep its vector loop for blocks of any size so that copies count as moves.
export GLIBC_TUNABLES="${GLIBC_TUNABLES:+$GLIBC_TUNABLES:}glibc.cpu.x86_rep_movsb_threshold=4194304"
valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect="$function" \
  "$program" --benchmark_filter="$filter" --benchmark_min_time=0.01 >/dev/null 2>&1
# The caller tree lists each caller of the function as "< ... (Nx)" above the function's own
# "* ..." line; the collected total is what ran inside the function.
callgrind_annotate --inclusive=yes --tree=caller "$out" 2>/dev/null | awk -v f="$function" '
  /PROGRAM TOTALS/ { gsub(",", "", $1); total = $1 }
  /^ *[0-9,]+ \([ 0-9.]+%\)  < / { line = $0; sub(/.*\(/, "", line); sub(/x\).*/, "", line); pending += line }
  /^ *[0-9,]+ \([ 0-9.]+%\)  \* / { if (index($0, f)) calls = pending; pending = 0 }
  END { if (calls) printf "%d instructions a call (%d calls)\n", total / calls, calls; else { print "no calls of " f; exit 1 } }'
