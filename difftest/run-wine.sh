#!/usr/bin/env bash
# Replays every drawing script in SCRIPTDIR through Wine's gdi32 and leaves the results in OUTDIR.
# usage: run-wine.sh WinReplay.exe OUTDIR SCRIPTDIR
set -euo pipefail
exe="$1" out="$2" scripts="$3"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../scripts/wine/env.sh"
export WINEPREFIX="${WINEPREFIX:-$(dirname "$out")/wineprefix}"

# A server started here must not hold our output pipes, or CTest waits for it forever.
# scripts/test.sh starts one for the whole run and says so with DIZO_WINE_KEEP_SERVER.
mkdir -p "$WINEPREFIX"
if [ -z "${DIZO_WINE_KEEP_SERVER:-}" ]; then
  wineserver -p </dev/null >/dev/null 2>&1 || true
  trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
fi
"$here/../scripts/wine/prefix.sh"

winpath() { printf 'Z:%s' "${1//\//\\}"; }

# The same font files fontconfig gives our layer, registered in the Windows program.
source "$here/../scripts/wine/fonts.sh"
wine_font_files "Liberation Serif" "Liberation Sans" -- Regular Bold Italic "Bold Italic"
fonts=()
for file in "${wine_fonts[@]}"; do fonts+=(--font "$file"); done

rm -rf "$out"
mkdir -p "$out"
shopt -s nullglob
list=()
for s in "$scripts"/*.dgs; do list+=("$(winpath "$s")"); done
[ ${#list[@]} -gt 0 ] || { echo "no scripts in $scripts" >&2; exit 1; }

# Wine's output goes to a file, not to our caller's pipe, which a service Wine starts on the way
# (the desktop process, for one) would otherwise inherit and hold open.
status=0
wine "$exe" "${fonts[@]}" "$(winpath "$out")" "${list[@]}" </dev/null >"$out.log" 2>&1 || status=$?
cat "$out.log"
count=$(find "$out" -name '*.wine.txt' | wc -l)
echo "Wine replayed $count of ${#list[@]} scripts into $out"
[ "$count" -eq ${#list[@]} ] || exit 1
exit $status
