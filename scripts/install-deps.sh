#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the program need.
# Idempotent: packages already present are left alone.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

PACKAGES=(
  # build and test tools
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev
  # drawing layer: text and images
  libfreetype-dev libfontconfig-dev libpng-dev fontconfig fonts-liberation
  # Linux host: Qt 6 Widgets, D-Bus, speech and sound
  qt6-base-dev libqt6svg6-dev libgl-dev libdbus-1-dev dbus dbus-x11
  libespeak-ng-dev espeak-ng libpulse-dev pulseaudio pulseaudio-utils sox
  # end-to-end tests: the close box without a window manager
  libxcb1-dev
  # end-to-end and differential tests
  xvfb xauth xdotool x11-utils imagemagick
  mingw-w64 g++-mingw-w64-x86-64 wine wine64
  # the Windows build: both MinGW-w64 targets, zlib for them, GoogleTest's sources, Debian's
  # source packages (libpng, Google Benchmark), 32-bit Wine and widl with Wine's IDL files
  g++-mingw-w64-i686 libz-mingw-w64-dev googletest dpkg-dev wine32:i386 wine64-tools
)

# 32-bit Wine comes from the i386 architecture, and the Windows build's libpng and Google
# Benchmark from Debian's source packages of this release.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi
src_list=/etc/apt/sources.list.d/dizo-src.sources
src_old=/etc/apt/sources.list.d/dizo-src.list
if [ ! -f "$src_list" ] && [ ! -f "$src_old" ]; then
  # The same archives the machine already uses, for source packages too.
  if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
    cat /etc/apt/sources.list.d/*.sources | sed -n 's/^Types: deb$/Types: deb-src/; /^Types:\|^URIs:\|^Suites:\|^Components:\|^Signed-By:\|^$/p' |
      $SUDO tee "$src_list" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list 2>/dev/null | sed 's/^deb /deb-src /' | $SUDO tee "$src_old" >/dev/null
  fi
  need_update=1
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  $SUDO apt-get update
fi
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# libpng, GoogleTest and Google Benchmark built for both Windows targets (once).
$SUDO bash "$(cd "$(dirname "$0")" && pwd)/build-mingw-deps.sh"

# fontconfig: "MS Sans Serif" must resolve to Liberation Sans, not the much wider DejaVu Sans.
conf_src="$(cd "$(dirname "$0")" && pwd)/fontconfig/60-dizo-fonts.conf"
if [ -f "$conf_src" ]; then
  $SUDO install -D -m 0644 "$conf_src" /etc/fonts/conf.d/60-dizo-fonts.conf
  fc-cache -f >/dev/null 2>&1 || true
fi
