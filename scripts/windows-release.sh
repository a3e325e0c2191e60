#!/usr/bin/env bash
# Builds the Windows program for stations, dizo-chat.exe (32-bit, static runtime, its windows and
# artwork inside), and its release zip, in build/windows-release.
# Usage: scripts/windows-release.sh     (scripts/install-deps.sh first, on a fresh machine)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build/windows-release"
cmake -S "$root" -B "$out" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DDIZO_TESTS=OFF -DDIZO_BENCH=OFF -DDIZO_QT=OFF -DDIZO_WINE_DIFF=OFF >/dev/null
cmake --build "$out" --target dizo-chat-zip -j 2
i686-w64-mingw32-strip "$out/hosts/win32/dizo-chat.exe"
cmake --build "$out" --target dizo-chat-zip -j 2 >/dev/null
ls -l "$out/hosts/win32/dizo-chat.exe" "$out"/dizo-chat-*-windows-*.zip
