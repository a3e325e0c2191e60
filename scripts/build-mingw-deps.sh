#!/usr/bin/env bash
# Builds the libraries the Windows build links (libpng, GoogleTest, Google Benchmark) with
# MinGW-w64 for each target triple, from Debian's own sources, into /opt/dizo-mingw/<triple>.
# Idempotent: a triple whose libraries are all installed is left alone.
# usage: build-mingw-deps.sh [TRIPLE...]   (default: i686-w64-mingw32 x86_64-w64-mingw32)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
base=/opt/dizo-mingw
src="$base/src"
triples=("$@")
[ ${#triples[@]} -gt 0 ] || triples=(i686-w64-mingw32 x86_64-w64-mingw32)

# Debian's source packages (deb-src of the same release); unpacked once.
fetch() {  # fetch PACKAGE DIRGLOB
  local dir
  dir="$(find "$src" -maxdepth 1 -type d -name "$2" 2>/dev/null | head -n 1)"
  if [ -z "$dir" ]; then
    mkdir -p "$src"
    # Newest first; a version the index lists but the mirror does not serve yet (a security
    # update still syncing answers 404) falls back to the one before it.
    local version
    for version in $(apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV | uniq); do
      if (cd "$src" && apt-get source -q "$1=$version" >/dev/null 2>"$src/$1.err"); then
        break
      fi
      echo "build-mingw-deps.sh: $1 $version could not be fetched ($(grep -m1 '^E:' "$src/$1.err")); trying an older one" >&2
    done
    dir="$(find "$src" -maxdepth 1 -type d -name "$2" | head -n 1)"
  fi
  [ -n "$dir" ] || { echo "no source of $1 in $src" >&2; exit 1; }
  printf '%s' "$dir"
}

build() {  # build TRIPLE NAME SOURCEDIR CMAKE-ARGS...
  local triple="$1" name="$2" dir="$3"
  shift 3
  local out="$base/build/$triple/$name"
  local arch="${triple%%-*}"
  cmake -S "$dir" -B "$out" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-$arch.cmake" \
    -DCMAKE_INSTALL_PREFIX="$base/$triple" -DCMAKE_CROSSCOMPILING_EMULATOR= "$@" >"$out.log" 2>&1 ||
    { tail -n 30 "$out.log"; exit 1; }
  cmake --build "$out" -j 2 >>"$out.log" 2>&1 && cmake --install "$out" >>"$out.log" 2>&1 ||
    { tail -n 30 "$out.log"; exit 1; }
}

for triple in "${triples[@]}"; do
  prefix="$base/$triple"
  if [ -f "$prefix/lib/libpng.a" ] && [ -f "$prefix/lib/libgtest.a" ] && [ -f "$prefix/lib/libbenchmark.a" ]; then
    continue
  fi
  mkdir -p "$base/build/$triple"
  [ -f "$prefix/lib/libpng.a" ] || build "$triple" png "$(fetch libpng1.6 'libpng1.6-*')" \
    -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
    -DZLIB_LIBRARY="/usr/$triple/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$triple/include"
  [ -f "$prefix/lib/libgtest.a" ] || build "$triple" googletest /usr/src/googletest -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
  [ -f "$prefix/lib/libbenchmark.a" ] || build "$triple" benchmark "$(fetch benchmark 'benchmark-*')" \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF \
    -DBENCHMARK_ENABLE_INSTALL=ON -DGIT_VERSION=1.7.1
  echo "built libpng, GoogleTest and Google Benchmark for $triple in $prefix"
done
