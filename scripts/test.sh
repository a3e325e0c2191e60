#!/usr/bin/env bash
# Sets up a fresh machine, builds everything once and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
# What set-up or a step left out, said again at the end so that a green run on a partial machine
# shows as such.
mkdir -p build
export DIZO_SETUP_REPORT="$PWD/build/skipped.txt"
: >"$DIZO_SETUP_REPORT"
say_skipped() {
  if [ -s "$DIZO_SETUP_REPORT" ]; then
    echo "test.sh: this run left out:"
    sed 's/^/  /' "$DIZO_SETUP_REPORT"
  else
    echo "test.sh: nothing was left out"
  fi
}
# The Windows toolchain and Wine are optional here: without them the Linux tests still run.
# 32-bit Wine only on request (DIZO_WINE32=1); the 64-bit build's tests cover the same code.
optional=(windows)
if [ -n "${DIZO_WINE32:-}" ]; then
  optional+=(wine32)
else
  echo "skipped: 32-bit Wine (not asked for; DIZO_WINE32=1 installs it): the Windows tests run in the 64-bit build" >>"$DIZO_SETUP_REPORT"
fi
bash scripts/install-deps.sh tests --optional "${optional[@]}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/dizo-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
# LeakSanitizer: fontconfig's configuration cache lives until exit by design.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
cmake --preset ci
cmake --build --preset ci -j 2

# Each fuzzer replays its seed corpus, then a short bounded random round (clang, libFuzzer): image
# loaders, DrawTextA, window descriptions, chat lines, one button, regions, the Wine bridge's
# channel; a crash, a sanitizer report, a broken rule or a leaked drawing object fails the run.
if command -v clang++ >/dev/null; then
  if ! bash scripts/fuzz.sh "${DIZO_FUZZ_SECONDS:-12}" > build/fuzz.log 2>&1; then
    tail -n 60 build/fuzz.log
    echo "fuzzing found a fault; the input is in build/fuzz/crashes/" >&2
    exit 1
  fi
  grep -h '^Done ' build/fuzz.log || true
fi

# One Wine session for the whole run, set up here, before CTest: the prefix (32-bit where this
# kernel runs 32-bit programs, else 64-bit; scripts/wine/env.sh) with one wineserver and its
# services. A server started inside CTest keeps CTest's pipes open and CTest waits for it forever.
# The Linux build's differential tests and every Windows test share it.
windows=""
if command -v wineserver >/dev/null && command -v x86_64-w64-mingw32-g++ >/dev/null &&
   [ -f /opt/dizo-mingw/x86_64-w64-mingw32/lib/libgtest.a ] && [ -f /opt/dizo-mingw/i686-w64-mingw32/lib/libpng.a ]; then
  source scripts/wine/session.sh "$PWD/build/wine/prefix"
  windows=1
elif ! grep -q 'Windows' "$DIZO_SETUP_REPORT"; then
  echo "skipped: the Windows build and its tests (no MinGW-w64, Wine or Windows libraries here)" >>"$DIZO_SETUP_REPORT"
fi

ctest --preset ci

# Windows: the same portable code cross-built with MinGW-w64, its tests run under Wine. The
# 32-bit program is what stations run; where this kernel cannot run 32-bit programs, the 64-bit
# build's tests run and the 32-bit one is still built.
if [ -n "$windows" ]; then
  cmake --preset "$DIZO_WINE_PRESET"
  cmake --build --preset "$DIZO_WINE_PRESET" -j 2
  ctest --preset "$DIZO_WINE_PRESET"
  # A Linux station with EchoLink under Wine: the stand-in in a fresh 64-bit prefix, the bridge
  # from this build, the service and the program from the Linux build.
  if [ "$DIZO_WINE_PRESET" = win64 ]; then
    status=0
    bash scripts/e2e-wine-bridge.sh --linux-build build/ci --windows-build build/win64 || status=$?
    if [ "$status" = 77 ]; then
      echo "skipped: the end-to-end test of EchoLink under Wine (its tools are missing)" >>"$DIZO_SETUP_REPORT"
    elif [ "$status" != 0 ]; then
      exit "$status"
    fi
  fi
  if [ "$DIZO_WINE_PRESET" != win32 ]; then
    echo "test.sh: the Windows tests ran in the 64-bit build (no 32-bit Wine here); building the 32-bit program"
    cmake --preset win32-release
    cmake --build --preset win32-release -j 2
  fi
fi

# The Debian package: the Linux programs built for release, with the 32-bit bridge for EchoLink
# under Wine when the Windows build made it, packed, installed on this machine and started under
# Xvfb beside the installed simulator (scripts/check-deb.sh), then removed.
bridge=""
for b in build/win32-release build/win32; do
  [ -f "$b/hosts/bridge/win/dizo-echolink-bridge.exe" ] && { bridge="$PWD/$b/hosts/bridge/win/dizo-echolink-bridge.exe"; break; }
done
[ -n "$bridge" ] || echo "skipped: the bridge in the Debian package (no 32-bit Windows build here)" >>"$DIZO_SETUP_REPORT"
cmake --preset package -DDIZO_BRIDGE_EXE="$bridge" >/dev/null
cmake --build --preset package -j 2
rm -f build/package/dizo-chat_*.deb
(cd build/package && cpack -G DEB >/dev/null)
bash scripts/check-deb.sh build/package/dizo-chat_*.deb
# (The listing is read whole first: grep -q leaving early would fail the pipe under pipefail.)
if [ -n "$bridge" ] && ! grep -q '/usr/lib/dizo-chat/dizo-echolink-bridge.exe$' <<<"$(dpkg -c build/package/dizo-chat_*.deb)"; then
  echo "test.sh: the Debian package lacks the bridge" >&2
  exit 1
fi
say_skipped
