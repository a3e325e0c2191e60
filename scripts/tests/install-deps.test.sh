#!/usr/bin/env bash
# The set-up script's decisions, with stand-ins for apt-get, dpkg and dpkg-query on PATH: which
# groups it installs, what it skips and says, how it retries a failing index. No network.
set -uo pipefail
script="$(cd "$(dirname "$0")/.." && pwd)/install-deps.sh"
T="$(mktemp -d /tmp/dizo-setup-test.XXXXXX)"
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/bin" "$T/etc/apt/sources.list.d" "$T/fonts"
printf 'Types: deb\nURIs: http://archive.example/debian\nSuites: bookworm\nComponents: main\n' \
  >"$T/etc/apt/sources.list.d/debian.sources"

# Stand-ins: every call goes to calls.log. INSTALLED lists what dpkg-query reports installed;
# UPDATE_FAILS is how many apt-get updates fail before one succeeds; INSTALL_FAILS a package
# whose install fails; ARCHES the foreign architectures.
cat >"$T/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "apt-get $*" >>"$T/calls.log"
case "$1" in
  update)
    n=$(cat "$T/updates" 2>/dev/null || echo 0); echo $((n + 1)) >"$T/updates"
    if [ "$n" -lt "${UPDATE_FAILS:-0}" ]; then echo "E: Failed to fetch i386 Packages  File has unexpected size" >&2; exit 100; fi ;;
  install)
    for p in "$@"; do
      if [ "$p" = "${INSTALL_FAILS:-}" ]; then echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100; fi
    done
    for p in "$@"; do case "$p" in -*) ;; install) ;; *) echo "$p" >>"$T/installed" ;; esac; done ;;
esac
STUB
cat >"$T/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
pkg="${!#}"
if [ "$2" = '${Architecture}\n' ]; then grep -q ':i386$' "$T/installed" 2>/dev/null && echo i386; exit 0; fi
grep -qx -- "$pkg" "$T/installed" 2>/dev/null && printf 'install ok installed' && exit 0
exit 1
STUB
cat >"$T/bin/dpkg" <<'STUB'
#!/usr/bin/env bash
echo "dpkg $*" >>"$T/calls.log"
[ "$1" = --print-foreign-architectures ] && cat "$T/arches" 2>/dev/null
exit 0
STUB
printf '#!/bin/sh\necho "mingw-deps" >>"$T/calls.log"\n' >"$T/bin/mingw-deps"
printf '#!/bin/sh\nexit 0\n' >"$T/bin/fc-cache"
chmod +x "$T/bin/"*

failures=0 ran=0
setup() {  # setup [INSTALLED-PACKAGE...]: a fresh machine with only these installed
  rm -f "$T/calls.log" "$T/updates" "$T/installed" "$T/arches" "$T/report" "$T/etc/apt/sources.list.d/dizo-src.sources"
  touch "$T/calls.log" "$T/installed"
  for p in "$@"; do echo "$p" >>"$T/installed"; done
}
run() {  # run ENV... -- ARGS...: runs the script, output in $T/out, status in $status
  local envs=()
  while [ "$1" != -- ]; do envs+=("$1"); shift; done
  shift
  env T="$T" PATH="$T/bin:$PATH" DIZO_SUDO= DIZO_APT_DIR="$T/etc/apt" DIZO_FONTS_DIR="$T/fonts" \
    DIZO_APT_UPDATE_PAUSE=0 DIZO_MINGW_DEPS="$T/bin/mingw-deps" DIZO_SETUP_REPORT="$T/report" \
    DIZO_KERNEL_RUNS_I386=no "${envs[@]}" bash "$script" "$@" >"$T/out" 2>&1
  status=$?
}
check() {  # check NAME CONDITION...
  local name="$1"
  shift
  ran=$((ran + 1))
  if ! "$@"; then
    failures=$((failures + 1))
    echo "FAIL: $name"
    sed 's/^/    out: /' "$T/out"
    sed 's/^/    call: /' "$T/calls.log"
  fi
}
called() { grep -q -- "$1" "$T/calls.log"; }
not_called() { ! called "$1"; }
said() { grep -q -- "$1" "$T/out"; }
reported() { grep -q -- "$1" "$T/report"; }
status_is() { [ "$status" -eq "$1" ]; }
updates() { [ "$(cat "$T/updates" 2>/dev/null || echo 0)" -eq "$1" ]; }
all() { local c; for c in "$@"; do eval "$c" || return 1; done; }

setup; run -- run
check "run installs the Linux program's packages and nothing for Windows" all "status_is 0" \
  "called 'install.*qt6-base-dev'" "not_called mingw" "not_called wine" "not_called 'install.*libgtest-dev'" \
  "not_called --add-architecture" "[ ! -f '$T/etc/apt/sources.list.d/dizo-src.sources' ]"

setup; run UPDATE_FAILS=2 -- run
check "a failing index update is tried again" all "status_is 0" "updates 3" "not_called 'update failed'" \
  "called 'install.*espeak-ng'"

setup; run UPDATE_FAILS=99 -- run tests
check "an index that keeps failing is reported once and set-up goes on" all "status_is 0" "updates 3" \
  "[ \$(grep -c 'apt-get update failed 3 times' '$T/out') -eq 1 ]" "said 'unexpected size'" \
  "called 'install.*libgtest-dev'"

setup; run INSTALL_FAILS=wine64 -- tests --optional windows
check "an optional Windows group that fails is skipped and reported, the rest installed" all "status_is 0" \
  "called 'install.*libgtest-dev'" "not_called mingw-deps" "reported 'skipped: the Windows toolchain'" \
  "said 'held broken packages'"

setup; run INSTALL_FAILS=wine64 -- run windows
check "a required group that fails stops set-up after the others were installed" all "status_is 1" \
  "called 'install.*qt6-base-dev'" "said 'set-up is incomplete'"

setup; run INSTALL_FAILS=qt6-base-dev -- run tests --optional windows
check "the Windows group installs even when the Linux program's packages cannot" all "status_is 1" \
  "called 'install.*g++-mingw-w64-i686'" "called mingw-deps" "called 'install.*libgtest-dev'"

setup; run -- windows --optional wine32
check "32-bit Wine is not tried where the kernel cannot run it" all "status_is 0" \
  "not_called --add-architecture" "not_called 'wine32:i386'" "reported 'skipped: 32-bit Wine (this kernel'" \
  "grep -q 'Types: deb-src' '$T/etc/apt/sources.list.d/dizo-src.sources'" "called mingw-deps"

setup; run DIZO_KERNEL_RUNS_I386=yes INSTALL_FAILS=wine32:i386 -- windows --optional wine32
check "32-bit Wine that cannot be installed is skipped and its architecture taken back" all "status_is 0" \
  "called '--add-architecture i386'" "called '--remove-architecture i386'" "called mingw-deps" \
  "reported 'skipped: 32-bit Wine (apt-get install failed): the Windows tests run in the 64-bit build'"

setup build-essential cmake ninja-build pkg-config libfreetype-dev libfontconfig-dev libpng-dev fontconfig \
  fonts-liberation qt6-base-dev qt6-svg-dev libgl-dev libdbus-1-dev dbus dbus-x11 libespeak-ng-dev espeak-ng \
  libpulse-dev pulseaudio pulseaudio-utils
run -- run
check "a machine that has everything is left alone" all "status_is 0" "updates 0" "not_called install" \
  "[ -f '$T/fonts/conf.d/60-dizo-fonts.conf' ]"

setup; run -- bogus
check "an unknown group is refused" all "status_is 1" "said \"unknown group 'bogus'\"" "not_called install"

echo "$((ran - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
