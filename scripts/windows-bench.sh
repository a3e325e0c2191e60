#!/usr/bin/env bash
# The Windows build's benchmarks under Wine, in one Wine session: the button-redraw call sequence
# through our drawing layer (bench_gdi.exe) beside Wine's gdi32 making the same calls
# (WineBench.exe), the button and relay benchmarks, then start-up and memory beside a bare window
# (scripts/windows-startup.sh). Prints tables; not a test.
# Usage: scripts/windows-bench.sh [REPETITIONS]   (default 5; figures are medians)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
reps="${1:-5}"
source "$root/scripts/wine/env.sh"
preset="$DIZO_WINE_PRESET-release"
build="$root/build/$preset"
cd "$root"
[ -f "$build/build.ninja" ] || cmake --preset "$preset" >/dev/null
cmake --build "$build" --target bench_gdi bench_buttons bench_relay dizo_wine_bench dizo-chat dizo-bare-window -j2 >/dev/null

source "$root/scripts/wine/session.sh" "$build/wineprefix"
source "$root/scripts/wine/fonts.sh"
wine_font_files "Liberation Serif" -- Regular Bold

# name,real_time (microseconds) of each benchmark's median. Wall time, not CPU time: under Wine a
# thread's CPU time comes in 10 ms steps, too coarse for a benchmark's few hundred milliseconds.
medians() {
  wine "$@" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true --benchmark_format=csv \
    --benchmark_time_unit=us --benchmark_min_time=0.5 </dev/null 2>/dev/null |
    awk -F, '$1 ~ /_median"?$/ {gsub(/"/, "", $1); sub(/_median$/, "", $1); print $1 "," $3}'
}
{
  medians "$build/bench/bench_gdi.exe" --benchmark_filter='BM_ButtonSequence'
  medians "$build/bench/bench_buttons.exe" --benchmark_filter='BM_RedrawButtonLigar|BM_PressReleaseClick|BM_HoverTickPointerStillOver'
  medians "$build/bench/bench_relay.exe"
  # Wine's gdi32, same calls, same session: wall time a redraw, the work of Wine's server included.
  wine "$build/difftest/WineBench.exe" "${wine_fonts[@]}" </dev/null 2>/dev/null |
    awk '/without_icon/ {print "wine:without," $2} /with_icon/ {print "wine:with," $2}'
} >"$build/windows-bench.csv"

awk -F, -v reps="$reps" '
  { t[$1] = $2 }
  function row(work, ours, peer) {
    if (ours == "") return
    if (peer == "") printf "| %-46s | %9.2f | %9s | %6s |\n", work, ours, "", ""
    else printf "| %-46s | %9.2f | %9.2f | %5.1fx |\n", work, ours, peer, peer / ours
  }
  END {
    printf "| %-46s | %9s | %9s | %6s |\n", "under Wine, wall time, median of " reps, "ours us", "gdi32 us", "ratio"
    printf "|%s|%s|%s|%s|\n", "------------------------------------------------", "-----------", "-----------", "--------"
    row("button sequence, no icon", t["BM_ButtonSequence/icon:0"], t["wine:without"])
    row("button sequence, 32-pixel icon", t["BM_ButtonSequence/icon:1"], t["wine:with"])
    row("RedrawButton ligar", t["BM_RedrawButtonLigar"], "")
    row("press, release, click", t["BM_PressReleaseClick"], "")
    row("hover tick, pointer still over", t["BM_HoverTickPointerStillOver"], "")
    for (k in t) if (k !~ /^wine:|ButtonSequence|RedrawButtonLigar|PressReleaseClick|HoverTick/) row("relay: " k, t[k], "")
  }' "$build/windows-bench.csv"

echo
# Start-up runs on its own display and prefix: leave this session's server first.
wineserver -k </dev/null >/dev/null 2>&1 || true
trap - EXIT
bash "$root/scripts/windows-startup.sh" "$build/hosts/win32/dizo-chat.exe" "$build/hosts/win32/dizo-bare-window.exe" "$reps"
