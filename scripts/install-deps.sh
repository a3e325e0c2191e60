#!/usr/bin/env bash
# Installs the Debian packages Dizo chat needs, by purpose, so that one group that cannot be had
# today never keeps the others from installing. Idempotent: what is present is left alone.
#
# usage: install-deps.sh [GROUP...] [--optional GROUP...]
#   (no group: run, tests and windows, and wine32 as optional)
#   run      build and run the Linux program (Qt 6, espeak-ng, PulseAudio, D-Bus)
#   tests    what the tests add: GoogleTest, Google Benchmark, clang for the fuzzers, Xvfb, xdotool
#   windows  the Windows build: MinGW-w64 for both targets, 64-bit Wine and widl, and libpng,
#            GoogleTest and Google Benchmark built for Windows from Debian's sources
#   wine32   32-bit Wine (optional): lets the Windows tests run in the 32-bit build
#
# A group after --optional that cannot be installed is reported and skipped; any other stops
# set-up (exit status 1) once every group has been tried.
# Every group skipped is named in one line at the end, and appended to $DIZO_SETUP_REPORT when
# that is set, so that the command that called this can say so at its own end.
# A temporary fault of one archive index does not stop set-up: apt-get update is tried a few
# times, and a failure that remains is reported; an install that then fails stops it.
set -uo pipefail
export DEBIAN_FRONTEND=noninteractive
here="$(cd "$(dirname "$0")" && pwd)"
SUDO="${DIZO_SUDO-}"
if [ -z "${DIZO_SUDO+x}" ] && [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
APT_DIR="${DIZO_APT_DIR:-/etc/apt}"
FONTS_DIR="${DIZO_FONTS_DIR:-/etc/fonts}"
UPDATE_TRIES="${DIZO_APT_UPDATE_TRIES:-3}"
UPDATE_PAUSE="${DIZO_APT_UPDATE_PAUSE:-10}"
MINGW_DEPS="${DIZO_MINGW_DEPS:-$here/build-mingw-deps.sh}"

RUN_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libfreetype-dev libfontconfig-dev libpng-dev fontconfig fonts-liberation
  qt6-base-dev qt6-svg-dev libgl-dev libdbus-1-dev dbus dbus-x11
  libespeak-ng-dev espeak-ng libpulse-dev pulseaudio pulseaudio-utils
)
TEST_PACKAGES=(
  git libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev sox
  # end-to-end tests: Xvfb, real pointer and key events, the close box without a window manager
  xvfb xauth xdotool x11-utils imagemagick libxcb1-dev
  # the Debian package check
  dpkg-dev
)
WINDOWS_PACKAGES=(
  mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev googletest dpkg-dev
  wine wine64 wine64-tools
)
WINE32_PACKAGES=(wine32:i386)

skipped=()
skip() {  # skip GROUP WHY COST
  skipped+=("skipped: $1 ($2): $3")
}

usage() {
  sed -n '5,11p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 1
}

# want_GROUP: empty (not asked for), "required" or "optional"; a group asked for both ways, or
# pulled in by a required one, is required.
want_run="" want_tests="" want_windows="" want_wine32=""
want() {  # want GROUP HOW
  local var="want_$1"
  [ "${!var}" = required ] || printf -v "$var" '%s' "$2"
}
[ $# -gt 0 ] || set -- run tests windows --optional wine32
how=required
for g in "$@"; do
  case "$g" in
    --optional) how=optional ;;
    run) want run "$how" ;;
    tests) want run "$how"; want tests "$how" ;;
    windows) want windows "$how" ;;
    wine32) want windows "$how"; want wine32 "$how" ;;
    *) echo "install-deps.sh: unknown group '$g'" >&2; usage ;;
  esac
done

# Whether this kernel starts 32-bit x86 programs: a 93-byte i386 ELF that only calls exit(0).
# Without that, 32-bit Wine could be installed but never run.
kernel_runs_i386() {
  if [ -n "${DIZO_KERNEL_RUNS_I386:-}" ]; then [ "$DIZO_KERNEL_RUNS_I386" = yes ]; return; fi
  [ "$(uname -m)" = x86_64 ] || [ "$(uname -m)" = i686 ] || return 1
  local probe
  probe="$(mktemp /tmp/dizo-i386-probe.XXXXXX)" || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  local ok=1
  "$probe" 2>/dev/null && ok=0
  rm -f "$probe"
  return $ok
}

installed() {  # installed PACKAGE
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
missing_of() {  # missing_of PACKAGE... -> the ones not installed, one a line
  local p
  for p in "$@"; do installed "$p" || echo "$p"; done
}

need_update=""
if [ -n "$want_wine32" ]; then
  if ! kernel_runs_i386; then
    skip "32-bit Wine" "this kernel does not run 32-bit programs" "the Windows tests run in the 64-bit build"
    want_wine32=""
  elif ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 && need_update=1
  fi
fi

# The Windows build's libpng and Google Benchmark come from Debian's source packages of this
# release: the same archives the machine already uses, for source packages too.
if [ -n "$want_windows" ]; then
  src_list="$APT_DIR/sources.list.d/dizo-src.sources"
  src_old="$APT_DIR/sources.list.d/dizo-src.list"
  if [ ! -f "$src_list" ] && [ ! -f "$src_old" ]; then
    if ls "$APT_DIR"/sources.list.d/*.sources >/dev/null 2>&1; then
      cat "$APT_DIR"/sources.list.d/*.sources |
        sed -n 's/^Types: deb$/Types: deb-src/; /^Types:\|^URIs:\|^Suites:\|^Components:\|^Signed-By:\|^$/p' |
        $SUDO tee "$src_list" >/dev/null
    else
      grep -h '^deb ' "$APT_DIR/sources.list" 2>/dev/null | sed 's/^deb /deb-src /' | $SUDO tee "$src_old" >/dev/null
    fi
    need_update=1
  fi
fi

mapfile -t miss_run < <([ -z "$want_run" ] || missing_of "${RUN_PACKAGES[@]}")
mapfile -t miss_tests < <([ -z "$want_tests" ] || missing_of "${TEST_PACKAGES[@]}")
mapfile -t miss_windows < <([ -z "$want_windows" ] || missing_of "${WINDOWS_PACKAGES[@]}")
mapfile -t miss_wine32 < <([ -z "$want_wine32" ] || missing_of "${WINE32_PACKAGES[@]}")
all_missing=$(( ${#miss_run[@]} + ${#miss_tests[@]} + ${#miss_windows[@]} + ${#miss_wine32[@]} ))

if [ "$all_missing" -gt 0 ] || [ -n "$need_update" ]; then
  update_log="$(mktemp /tmp/dizo-apt-update.XXXXXX)"
  updated=""
  for try in $(seq 1 "$UPDATE_TRIES"); do
    if $SUDO apt-get update >"$update_log" 2>&1; then updated=1; break; fi
    [ "$try" -lt "$UPDATE_TRIES" ] && sleep "$UPDATE_PAUSE"
  done
  if [ -z "$updated" ]; then
    why="$(grep -E '^(E|W):' "$update_log" | head -n 1)"
    echo "install-deps.sh: apt-get update failed $UPDATE_TRIES times (${why:-see apt-get update}); installing from the package lists at hand"
  fi
  rm -f "$update_log"
fi

failed=""
fail_group() {  # fail_group HOW — a required group's failure stops set-up at the end
  [ "$1" = optional ] || failed=1
}
install_group() {  # install_group NAME PACKAGE...; apt's own message shows on failure
  local name="$1"
  shift
  [ $# -gt 0 ] || return 0
  echo "install-deps.sh: installing $name: $*"
  $SUDO apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "$@"
}
run_ok=1
if ! install_group "the Linux program's packages" "${miss_run[@]}"; then
  skip "the Linux program's packages" "apt-get install failed" "the Linux program cannot be built"
  fail_group "$want_run"
  run_ok=""
fi
if ! install_group "the test tools" "${miss_tests[@]}"; then
  skip "the test tools" "apt-get install failed" "the tests cannot be built"
  fail_group "$want_tests"
fi
windows_ok=""
if [ -n "$want_windows" ]; then
  if install_group "the Windows toolchain and 64-bit Wine" "${miss_windows[@]}"; then
    windows_ok=1
  else
    skip "the Windows toolchain and 64-bit Wine" "apt-get install failed" "no Windows build and no Windows tests"
    fail_group "$want_windows"
  fi
fi
if [ -n "$want_wine32" ] && ! install_group "32-bit Wine" "${miss_wine32[@]}"; then
  skip "32-bit Wine" "apt-get install failed" "the Windows tests run in the 64-bit build"
  fail_group "$want_wine32"
  # An i386 architecture with nothing installed from it only slows every later update.
  if [ -z "$(dpkg-query -W -f='${Architecture}\n' 2>/dev/null | grep -x i386)" ]; then
    $SUDO dpkg --remove-architecture i386 2>/dev/null || true
  fi
fi

# libpng, GoogleTest and Google Benchmark built for both Windows targets (once).
if [ -n "$windows_ok" ] && ! $SUDO bash "$MINGW_DEPS"; then
  skip "the Windows libraries" "building them from Debian's sources failed" "no Windows build and no Windows tests"
  fail_group "$want_windows"
fi

# fontconfig: "MS Sans Serif" must resolve to Liberation Sans, not the much wider DejaVu Sans.
conf_src="$here/fontconfig/60-dizo-fonts.conf"
if [ -n "$run_ok" ] && [ -n "$want_run" ] && [ -f "$conf_src" ] && [ -d "$FONTS_DIR" ]; then
  $SUDO install -D -m 0644 "$conf_src" "$FONTS_DIR/conf.d/60-dizo-fonts.conf"
  fc-cache -f >/dev/null 2>&1 || true
fi

for line in "${skipped[@]}"; do
  echo "install-deps.sh: $line"
  [ -z "${DIZO_SETUP_REPORT:-}" ] || echo "$line" >>"$DIZO_SETUP_REPORT"
done
if [ -n "$failed" ]; then
  echo "install-deps.sh: set-up is incomplete (see apt-get's messages above)" >&2
  exit 1
fi
exit 0
