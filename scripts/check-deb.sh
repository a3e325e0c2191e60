#!/usr/bin/env bash
# Installs the Debian package (apt-get, so its dependencies are resolved), checks that the files
# are in their places, starts the installed program under Xvfb beside the installed simulator on a
# private session bus, sees its main window and its greeting in the chat, closes the station and
# sees the program end; then removes the package again.
# Usage: scripts/check-deb.sh PACKAGE.deb     (needs root or sudo)
set -euo pipefail
deb="$(realpath "$1")"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ -z "${DIZO_DEB_IN_SESSION:-}" ]; then
  $SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" >/dev/null
  status=0
  env DIZO_DEB_IN_SESSION=1 timeout --kill-after=5 60 dbus-run-session -- bash "$0" "$deb" || status=$?
  $SUDO dpkg -r dizo-chat >/dev/null
  exit "$status"
fi

fail() { echo "check-deb: FAIL: $*" >&2; exit 1; }
for f in /usr/bin/dizo-chat /usr/bin/dizo-station-sim /usr/share/dizo-chat/forms/Form1.frm \
         /usr/share/dizo-chat/forms/sobre_.frm /usr/share/dizo-chat/forms/art/dizo.ico \
         /usr/share/applications/dizo-chat.desktop /usr/share/icons/hicolor/32x32/apps/dizo-chat.png \
         /usr/bin/dizo-wine-echolink /usr/bin/dizo-echolink-wine /usr/share/applications/dizo-echolink-wine.desktop; do
  [ -f "$f" ] || fail "$f is not installed"
done
# The fontconfig link must resolve, and fontconfig must then map the descriptions' font.
[ -f "$(readlink -e /etc/fonts/conf.d/60-dizo-chat-fonts.conf)" ] || fail "the fontconfig link does not resolve"
fc-match 'MS Sans Serif' | grep -q 'Liberation Sans' || fail "MS Sans Serif is not mapped: $(fc-match 'MS Sans Serif')"

T="$(mktemp -d /tmp/dizo-deb.XXXXXX)"
export HOME="$T/home" XDG_RUNTIME_DIR="$T/xdg" QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$T"
}
trap cleanup EXIT
wait_for() {  # wait_for SECONDS COMMAND...
  local tries=$(( $1 * 20 )); shift
  until "$@"; do tries=$((tries - 1)); [ "$tries" -gt 0 ] || return 1; sleep 0.05; done
}

Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$T/display" 2>"$T/xvfb.log" &
pids+=($!)
wait_for 5 test -s "$T/display" || fail "Xvfb did not start: $(tail -1 "$T/xvfb.log")"
export DISPLAY=":$(head -1 "$T/display")"

# The installed simulator, fed from a pipe; then the installed program, started from the menu entry's
# command as a desktop would.
mkfifo "$T/sim.in"
exec 7<>"$T/sim.in"
/usr/bin/dizo-station-sim --log "$T/sim.log" <"$T/sim.in" >"$T/sim.out" 2>&1 &
pids+=($!)
wait_for 5 grep -qs ' ready: ' "$T/sim.log" || fail "the simulator did not start: $(tail -3 "$T/sim.out")"
command="$(sed -n 's/^Exec=//p' /usr/share/applications/dizo-chat.desktop)"
(cd "$T" && exec $command) >"$T/app.out" 2>&1 &
app=$!
pids+=($app)
wait_for 20 xdotool search --onlyvisible --name '^Dizo Chat por QD4RV $' >/dev/null 2>&1 ||
  fail "the main window did not appear: $(tail -3 "$T/app.out")"
wait_for 5 grep -qF 'PostChatLine(" Dizo chat está ligado...")' "$T/sim.log" ||
  fail "the program did not greet the chat: $(tail -3 "$T/sim.log")"
# The station closes: the program says goodbye and ends by itself.
printf '/quit\n' >&7
wait_for 10 bash -c "! kill -0 $app 2>/dev/null" || fail "the program did not end when the station closed"
wait "$app" || fail "the program ended with status $?: $(tail -3 "$T/app.out")"
echo "check-deb: $(basename "$deb") installs, shows its window, talks to the station and ends"
