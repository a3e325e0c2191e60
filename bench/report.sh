#!/usr/bin/env bash
# Builds the release benchmarks and Wine's timing program and prints one table: each of our
# benchmarks beside its peer (Qt's QPushButton, Wine's gdi32 running the same calls), with ratios.
# usage: bench/report.sh [REPETITIONS]   (default 5; figures are the median CPU time)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
reps="${1:-5}"
build="$root/build/release"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"

cd "$root"
[ -f "$build/build.ninja" ] || cmake --preset release >/dev/null
targets=(bench_buttons bench_gdi bench_hosts)
# Read whole: grep -q would stop reading early and the pipe would fail under pipefail.
help="$(cmake --build "$build" --target help)"
[[ $help == *dizo_wine_bench* ]] && targets+=(dizo_wine_bench)
cmake --build "$build" --target "${targets[@]}" -j2 >/dev/null

# name,time (microseconds) of each benchmark's median: CPU time, or wall time for the benchmarks
# that ask for it (their names end in /real_time); PREFIX names the run.
medians() {
  local prefix="$1"
  shift
  "$@" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true --benchmark_format=csv \
    --benchmark_time_unit=us 2>/dev/null | awk -F, -v p="$prefix" '$1 ~ /_median"?$/ {
      gsub(/"/, "", $1); sub(/_median$/, "", $1); print p $1 "," ($1 ~ /\/real_time$/ ? $3 : $4) }'
}
{
  medians "" "$build/bench/bench_buttons" --benchmark_filter='BM_RedrawButton' --benchmark_min_time=0.05
  medians "" "$build/bench/bench_gdi" --benchmark_filter='BM_ButtonSequence' --benchmark_min_time=0.2
  qt='BM_QPushButtonRender|BM_QtButtonRepaint|BM_QtButtonPresent|BM_QtHoverEnter'
  medians "" "$build/bench/bench_hosts" --benchmark_filter="$qt" --benchmark_min_time=0.2
  if command -v xvfb-run >/dev/null; then
    medians xvfb: env QT_QPA_PLATFORM=xcb xvfb-run -a "$build/bench/bench_hosts" \
      --benchmark_filter='BM_QtButtonPresent|BM_QtHoverEnter' --benchmark_min_time=0.2
  fi
  # Wine's side through the existing comparison: CPU time of its thread for the same calls.
  if [ -e "$build/difftest/WineBench.exe" ]; then
    "$root/difftest/compare-speed.sh" "$build" 2>/dev/null |
      awk '/without the icon, CPU time/ {print "wine:without," $(NF-1)} /with the 32x32 icon, CPU time/ {print "wine:with," $(NF-1)}'
  fi
} >"$build/report.csv"

awk -F, -v reps="$reps" '
  { t[$1] = $2 }
  function row(work, ours, peer, peerName, target) {
    if (ours == "") return
    if (peer == "") printf "| %-44s | %9.2f | %-22s | %9s | %6s | %-14s |\n", work, ours, peerName, "", "", target
    else printf "| %-44s | %9.2f | %-22s | %9.2f | %5.1fx | %-14s |\n", work, ours, peerName, peer, peer / ours, target
  }
  END {
    printf "| %-44s | %9s | %-22s | %9s | %6s | %-14s |\n", "work (CPU time, median of " reps ")", "ours us", "peer", "peer us", "ratio", "target"
    printf "|%s|%s|%s|%s|%s|%s|\n", "----------------------------------------------", "-----------", "------------------------", "-----------", "--------", "----------------"
    row("RedrawButton ligar (icon 32)", t["BM_RedrawButtonLigar"], t["BM_QPushButtonRender/icon:1"], "QPushButton render", "<= 2 us, >= 4x")
    row("QPushButton render, no icon (for scale)", t["BM_QPushButtonRender/icon:0"], "", "", "")
    worst = 0; n = 0
    for (k in t) if (k ~ /^BM_RedrawButtonShapeGradientPicture\//) { n++; if (t[k] > worst) { worst = t[k]; wk = k } }
    sub(/^BM_RedrawButtonShapeGradientPicture\//, "", wk)
    if (n) row("slowest of " n " shape x gradient x size (" wk ")", worst, "", "", "<= 3 us")
    over = 0
    for (k in t) if (k ~ /^BM_RedrawButtonShapeGradientPicture\// && t[k] > 3) over++
    if (n) printf "| %-44s | %9d | %-22s | %9s | %6s | %-14s |\n", "combinations over 3 us", over, "", "", "", "0"
    for (shape = 0; shape <= 6; shape++) {
      worst = 0
      for (k in t) if (index(k, "BM_RedrawButtonShapeGradientPicture/shape:" shape "/") == 1 && t[k] > worst) worst = t[k]
      if (worst) row("  slowest of shape " shape " (all gradients, sizes)", worst, "", "", "<= 3 us")
    }
    row("button sequence, no icon", t["BM_ButtonSequence/icon:0"], t["wine:without"], "Wine gdi32, same calls", ">= 20x")
    row("button sequence, 32-pixel icon", t["BM_ButtonSequence/icon:1"], t["wine:with"], "Wine gdi32, same calls", "")
    row("Qt host: ligar repaint (redraw + present)", t["BM_QtButtonRepaint"], "", "", "")
    row("Qt host: present only, offscreen", t["BM_QtButtonPresent"], "", "", "")
    row("Qt host: present only, Xvfb", t["xvfb:BM_QtButtonPresent"], "", "", "")
    row("Qt host: hover enter + leave, offscreen", t["BM_QtHoverEnterAndLeave"], "", "", "")
    row("Qt host: hover enter + leave, Xvfb", t["xvfb:BM_QtHoverEnterAndLeave"], "", "", "")
    row("Qt host: hover enter to repaint, Xvfb, wall", t["xvfb:BM_QtHoverEnter/real_time"], "", "", "")
  }' "$build/report.csv"
