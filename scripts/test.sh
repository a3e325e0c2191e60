#!/usr/bin/env bash
# Sets up a fresh machine, builds everything once and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/dizo-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
# LeakSanitizer: fontconfig's configuration cache lives until exit by design.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
cmake --preset ci
cmake --build --preset ci -j 2

# A short bounded fuzzing round (clang, libFuzzer) of the image loaders, DrawTextA and stored window
# descriptions; a crash, a sanitizer report or a leaked drawing object fails the run.
if command -v clang++ >/dev/null; then
  if ! bash scripts/fuzz.sh "${DIZO_FUZZ_SECONDS:-20}" > build/fuzz.log 2>&1; then
    tail -n 60 build/fuzz.log
    echo "fuzzing found a fault; the input is in build/fuzz/crashes/" >&2
    exit 1
  fi
  grep -h '^Done ' build/fuzz.log || true
fi

# Wine for the differential tests of the drawing layer: a private prefix under the build tree, and
# one wineserver with its services started here, before CTest. A server started inside CTest keeps
# CTest's pipes open and CTest waits for it forever.
if command -v wine >/dev/null && command -v x86_64-w64-mingw32-g++ >/dev/null; then
  export WINEPREFIX="$PWD/build/ci/wineprefix" WINEDEBUG=-all WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml=" DIZO_WINE_KEEP_SERVER=1
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1 || true
  trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
  difftest/wine-prefix.sh
  wineboot -i </dev/null >/dev/null 2>&1
fi

ctest --preset ci
