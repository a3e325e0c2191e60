#!/usr/bin/env bash
# Runs Dizo chat on this desktop: installs what is missing, builds, then starts the station
# simulator in this terminal (type chat lines here) and the program's window beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

if [ -z "${DIZO_RUN_IN_SESSION:-}" ]; then
  # Only what the Linux program needs: no test tools, no Windows toolchain, no Wine.
  bash scripts/install-deps.sh run
  cmake --preset run >/dev/null
  cmake --build --preset run -j 2
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no graphical display (DISPLAY or WAYLAND_DISPLAY is unset); start it from a desktop session." >&2
    exit 1
  fi
  # EchoLink's stand-in lives on the session bus; a terminal without one gets a private bus.
  if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec env DIZO_RUN_IN_SESSION=1 dbus-run-session -- bash "$0" "$@"
  fi
fi

bin="$root/build/run/hosts"
name=org.dizochat.EchoLink
owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$name" 2>/dev/null | grep -q 'boolean true'
}
if owned; then
  echo "run.sh: $name already has an owner on this bus (a station is running); starting only the program."
  exec "$bin/qt/dizo-chat"
fi

# Speech needs a sound server; without one the lines still key the transmitter, in silence.
if ! pactl info >/dev/null 2>&1; then
  echo "run.sh: no PulseAudio or PipeWire server answers (pactl info): spoken lines will key the transmitter but nothing will be heard; 'pulseaudio --start' starts one."
fi

cat <<'TEXT'
Dizo chat with the station simulator. Type chat lines below, for example:
  QD4RV>bom dia=      spoken aloud with the transmitter keyed
  QD4RV>cq test>      sent as Morse by the station
  bom dia=            the simulator puts its sender name in front
  QD4RV>tchau fdp     ends the program
Ctrl-D or /quit closes the station (the program says goodbye and ends); /help lists commands.
TEXT

# The program starts once the simulator owns the name, so its EchoLink object is created.
(
  for _ in $(seq 1 100); do owned && break; sleep 0.05; done
  exec "$bin/qt/dizo-chat" >/dev/null 2>&1
) &
exec "$bin/simulator/dizo-station-sim"
