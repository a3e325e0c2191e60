#!/usr/bin/env bash
# Times the button-redraw call sequence through our drawing layer and through Wine's gdi32, side by
# side in one run, and prints both and their ratio.
# usage: compare-speed.sh [BUILDDIR]   (a build with the benchmarks, e.g. build/release or build/dev)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../build/dev}" && pwd)"
bench="$build/bench/bench_gdi"
winebench="$build/difftest/WineBench.exe"
for f in "$bench" "$winebench"; do
  [ -e "$f" ] || { echo "missing $f: build the targets bench_gdi and dizo_wine_bench first" >&2; exit 1; }
done

source "$here/../scripts/wine/session.sh" "${WINEPREFIX:-$build/difftest/wineprefix}"

source "$here/../scripts/wine/fonts.sh"
wine_font_files "Liberation Serif" -- Regular Bold

# Both sides report wall time and CPU time a redraw, in microseconds.
ours="$("$bench" --benchmark_filter='BM_ButtonSequence' --benchmark_format=csv --benchmark_time_unit=us \
  --benchmark_min_time=0.5 2>/dev/null |
  awk -F, '/BM_ButtonSequence\/icon:0"?,/ {a=$3" "$4} /BM_ButtonSequence\/icon:1"?,/ {b=$3" "$4} END {print a, b}')"
theirs="$(wine "$winebench" "${wine_fonts[@]}" </dev/null |
  awk '/without_icon/ {a=$2" "$3} /with_icon/ {b=$2" "$3} END {print a, b}')"

read -r oursPlainWall oursPlainCpu oursIconWall oursIconCpu <<<"$ours"
read -r winePlainWall winePlainCpu wineIconWall wineIconCpu <<<"$theirs"
if [ -z "${oursIconCpu:-}" ] || [ -z "${wineIconCpu:-}" ]; then
  echo "a timing is missing (ours: '$ours', wine: '$theirs')" >&2
  exit 1
fi
awk -v opw="$oursPlainWall" -v opc="$oursPlainCpu" -v oiw="$oursIconWall" -v oic="$oursIconCpu" \
    -v wpw="$winePlainWall" -v wpc="$winePlainCpu" -v wiw="$wineIconWall" -v wic="$wineIconCpu" 'BEGIN {
  printf "%-36s %10s %10s %8s\n", "button redraw, us a redraw", "ours", "wine", "ratio"
  printf "%-36s %10.2f %10.2f %7.1fx\n", "without the icon, wall time", opw, wpw, wpw / opw
  printf "%-36s %10.2f %10.2f %7.1fx\n", "without the icon, CPU time", opc, wpc, wpc / opc
  printf "%-36s %10.2f %10.2f %7.1fx\n", "with the 32x32 icon, wall time", oiw, wiw, wiw / oiw
  printf "%-36s %10.2f %10.2f %7.1fx\n", "with the 32x32 icon, CPU time", oic, wic, wic / oic
  print "(Wine CPU time is its thread only; the wineserver work for user32 calls shows in wall time.)"
}'
