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
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# fontconfig: "MS Sans Serif" must resolve to Liberation Sans, not the much wider DejaVu Sans.
conf_src="$(cd "$(dirname "$0")" && pwd)/fontconfig/60-dizo-fonts.conf"
if [ -f "$conf_src" ]; then
  $SUDO install -D -m 0644 "$conf_src" /etc/fonts/conf.d/60-dizo-fonts.conf
  fc-cache -f >/dev/null 2>&1 || true
fi
