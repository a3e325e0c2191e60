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

export WINEPREFIX="${WINEPREFIX:-$build/difftest/wineprefix}"
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
"$here/wine-prefix.sh"
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT

fonts=()
for style in Regular Bold; do
  file="$(fc-match -f '%{file}' "Liberation Serif:style=$style")"
  [ -f "$file" ] && fonts+=("Z:${file//\//\\}")
done

ours="$("$bench" --benchmark_filter='BM_ButtonSequence' --benchmark_format=csv --benchmark_time_unit=us \
  --benchmark_min_time=0.5 2>/dev/null | awk -F, '/BM_ButtonSequence\/icon:0"?,/ {a=$4} /BM_ButtonSequence\/icon:1"?,/ {b=$4} END {print a, b}')"
theirs="$(wine "$winebench" "${fonts[@]}" </dev/null | awk '/without_icon/ {a=$2} /with_icon/ {b=$2} END {print a, b}')"

read -r oursPlain oursIcon <<<"$ours"
read -r winePlain wineIcon <<<"$theirs"
if [ -z "${oursIcon:-}" ] || [ -z "${wineIcon:-}" ]; then
  echo "a timing is missing (ours: '$ours', wine: '$theirs')" >&2
  exit 1
fi
awk -v op="$oursPlain" -v oi="$oursIcon" -v wp="$winePlain" -v wi="$wineIcon" 'BEGIN {
  printf "%-28s %12s %12s %8s\n", "button redraw", "ours (us)", "wine (us)", "ratio"
  printf "%-28s %12.2f %12.2f %7.1fx\n", "without the icon", op, wp, wp / op
  printf "%-28s %12.2f %12.2f %7.1fx\n", "with the 32x32 icon", oi, wi, wi / oi
}'
