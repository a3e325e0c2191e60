#!/usr/bin/env bash
# End to end for a Linux station whose EchoLink runs under Wine: the stand-in EchoLink registered in
# a fresh 64-bit prefix plays EchoLink, dizo-echolink-wine starts the bridge there and the service
# beside it, and the Linux program (Xvfb, speech into a recorded null sink) drives it all.
# Usage: scripts/e2e-wine-bridge.sh [--linux-build DIR] [--windows-build DIR] [--bench-build DIR]
# (exit 77: skipped). The latency step runs when DIR/bench/bench_bridge of --bench-build exists.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux="$root/build/ci"
windows="$root/build/win64"
benchdir="$root/build/dev"
while [ $# -gt 0 ]; do
  case "$1" in
    --linux-build) linux="$2"; shift 2 ;;
    --windows-build) windows="$2"; shift 2 ;;
    --bench-build) benchdir="$2"; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done
skip() { echo "SKIP: $*"; exit 77; }
for tool in Xvfb dbus-run-session gdbus pulseaudio pactl parec sox wineserver; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
app="$linux/hosts/qt/dizo-chat"
service="$linux/hosts/bridge/service/dizo-wine-echolink"
standin="$windows/hosts/com/dizo-echolink-standin.exe"
bridge="$windows/hosts/bridge/win/dizo-echolink-bridge.exe"
for f in "$app" "$service" "$standin" "$bridge"; do [ -e "$f" ] || skip "build $f first"; done

if [ -z "${DIZO_E2E_IN_SESSION:-}" ]; then
  exec env DIZO_E2E_IN_SESSION=1 timeout --kill-after=5 600 dbus-run-session -- bash "$0" --linux-build "$linux" \
    --windows-build "$windows" --bench-build "$benchdir"
fi

T="$(mktemp -d /tmp/dizo-wine-e2e.XXXXXX)"
export HOME="$T/home" XDG_RUNTIME_DIR="$T/xdg"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  wineserver -k </dev/null >/dev/null 2>&1
  [ -n "${DIZO_E2E_KEEP:-}" ] && echo "kept $T" || rm -rf "$T"
}
trap cleanup EXIT

Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$T/display" 2>"$T/xvfb.log" &
pids+=($!)
for _ in $(seq 1 100); do [ -s "$T/display" ] && break; sleep 0.05; done
[ -s "$T/display" ] || skip "Xvfb did not start"
export DISPLAY=":$(head -1 "$T/display")"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
  -L "module-null-sink sink_name=dizo_null rate=22050 channels=1" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$T/pulse.sock" >"$T/pulse.log" 2>&1 &
pids+=($!)
export PULSE_SERVER="unix:$T/pulse.sock"
for _ in $(seq 1 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null 2>&1 || skip "pulseaudio did not start"
pactl set-default-sink dizo_null
export QT_QPA_PLATFORM=xcb LANG=pt_BR.UTF-8
# A fresh 64-bit prefix with its own wineserver and services for the whole run, started after
# DISPLAY so that Wine's desktop is this Xvfb: without one, COM activation of the stand-in under
# a loaded machine sometimes never completed.
export DIZO_WINE_ARCH=win64
source "$root/scripts/wine/session.sh" "$T/prefix" </dev/null >/dev/null 2>&1 || skip "the Wine session did not start"
trap cleanup EXIT

passed=0; failures=0
fail() { echo "FAIL [$step]: $*"; failures=$((failures + 1)); }
ok() { echo "ok   [$step]: $*"; passed=$((passed + 1)); }
patience=30
wait_for() {  # wait_for SECONDS COMMAND...
  local limit=$((SECONDS + $1)); shift
  until "$@"; do [ "$SECONDS" -lt "$limit" ] || return 1; sleep 0.05; done
}
w() { wine "$@" </dev/null >>"$T/wine.out" 2>&1; }
log="$T/standin.log"
calls() { sed -E 's/^[0-9]+ //' "$log" 2>/dev/null; }
has() { calls | grep -qxF -- "$1"; }
count() { calls | grep -cxF -- "$1"; }
last_key() { calls | grep -E '^SetTransmit\(' | tail -1; }
last_key_is() { [ "$(last_key)" = "$1" ]; }
owned() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner org.dizochat.EchoLink 2>/dev/null | grep -q true
}
not_owned() { ! owned; }
keyed_more() { [ "$(count 'SetTransmit(-1)')" -gt "$keyed_before" ]; }  # re-read at every poll

cmd_pid=""
start_command() {  # start_command [--program COMMAND]
  DIZO_BRIDGE_EXE="$bridge" DIZO_WINE_ECHOLINK="$service" \
    bash "$root/hosts/bridge/dizo-echolink-wine" --prefix "$WINEPREFIX" --watch dizo-echolink-standin.exe "$@" \
    >>"$T/command.log" 2>&1 &
  cmd_pid=$!; pids+=($cmd_pid)
}
app_pid=""
start_app() {
  "$app" >>"$T/app.out" 2>&1 &
  app_pid=$!; pids+=($app_pid)
}
app_gone() { ! kill -0 "$app_pid" 2>/dev/null; }
command_gone() { ! kill -0 "$cmd_pid" 2>/dev/null; }
LIGADO=' Dizo chat está ligado...'
DESLIGADO=' Dizo chat está desligado.'

step=setup
w "$standin" /regserver /log "Z:$log" && w "$standin" /stamps on || { fail "cannot register the stand-in"; exit 1; }
start_command
wait_for 90 owned && ok "the service owns org.dizochat.EchoLink through the bridge" || { fail "no service: $(tail -3 "$T/command.log")"; exit 1; }

step=startup
start_app
wait_for $patience has "PostChatLine(\"$LIGADO\")" && ok "the greeting reached EchoLink with \"á\" intact" ||
  fail "no greeting: $(tail -3 "$log")"

step=speech
parec -d dizo_null.monitor --rate=22050 --channels=1 --format=s16le >"$T/rec.raw" 2>/dev/null & rec=$!
keyed_before=$(count 'SetTransmit(-1)')
w "$standin" /say "QD4RV>bom dia="
wait_for $patience keyed_more && ok "keyed for a line ending in =" || fail "not keyed"
wait_for $patience last_key_is 'SetTransmit(0)' && ok "unkeyed after the speech" || fail "left keyed: $(last_key)"
kill $rec; wait $rec 2>/dev/null
rms=$(sox -t raw -r 22050 -e signed -b 16 -c 1 "$T/rec.raw" -n stat 2>&1 | awk '/RMS +amplitude/ { print $3 }')
awk -v r="${rms:-0}" 'BEGIN { exit !(r > 0.005) }' && ok "speech heard on the null sink (RMS $rms)" || fail "silence (RMS ${rms:-none})"

step=morse
w "$standin" /say "QD4RV>cq test>"
wait_for $patience has 'SendMorse(0, VT_BSTR "cq test>")' && ok "> reached EchoLink as Morse" || fail "no Morse: $(tail -2 "$log")"

step=latency
bench="$benchdir/bench/bench_bridge"
if [ -x "$bench" ]; then
  DIZO_BENCH_STAMPS="$T/stamps" "$bench" --benchmark_counters_tabular=true >"$T/bench.out" 2>&1
  grep -E 'BM_KeyRoundTrip' "$T/bench.out" | tail -1
  # Each request's send time against its line in EchoLink's log (both on the raw monotonic clock).
  grep -E '^[0-9]+ SetTransmit\(' "$log" | tail -n 100 >"$T/arrivals"
  if [ "$(wc -l <"$T/stamps")" = 100 ] && [ "$(wc -l <"$T/arrivals")" = 100 ]; then
    paste -d' ' "$T/stamps" "$T/arrivals" | awk '{ print $3 - $1 }' | sort -n >"$T/delays"
    echo "send to EchoLink's log, ms: median $(sed -n 50p "$T/delays"), worst $(tail -1 "$T/delays"), best $(head -1 "$T/delays")"
    ok "100 key requests measured"
  else
    fail "the benchmark did not make 100 requests: $(tail -3 "$T/bench.out")"
  fi
  last_key_is 'SetTransmit(0)' || fail "the benchmark left EchoLink keyed"
else
  echo "latency: skipped ($bench not built)"
fi

step=bridge_killed
keyed_before=$(count 'SetTransmit(-1)')
w "$standin" /say "QD4RV>uma frase bem comprida, para que a fala dure alguns segundos até o fim dela="
wait_for $patience keyed_more || fail "not keyed"
bridge_pid=$(pgrep -f 'dizo-echolink-bridge\.exe --secret' | head -1)
[ -n "$bridge_pid" ] && kill -9 "$bridge_pid"
wait_for $patience not_owned && ok "the name went with the bridge" || fail "the name is still owned"
wait_for $patience last_key_is 'SetTransmit(0)' && ok "EchoLink unkeyed after the bridge was killed" ||
  fail "left keyed: $(last_key)"
wait_for $patience command_gone && ok "the command stopped" || fail "the command still runs"
kill -0 "$app_pid" 2>/dev/null && ok "the program carries on without its station" || fail "the program ended"
kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null
wait_for $patience grep -q '^[0-9]* exit$' "$log"  # the stand-in let go

step=closing
# As the menu entry runs it: the command starts the program once the station is on the bus.
: >"$log"
start_command --program "$app"
wait_for 90 has "PostChatLine(\"$LIGADO\")" && ok "the command started the program beside the station" ||
  fail "no greeting: $(tail -3 "$T/command.log")"
w "$standin" /close
wait_for $patience has "PostChatLine(\"$DESLIGADO\")" && ok "Closing gives the farewell" || fail "no farewell: $(tail -3 "$log")"
wait_for $patience command_gone && ok "the program, the bridge and the service stop when EchoLink closes" ||
  fail "the command still runs"
pgrep -f "$app" >/dev/null && fail "the program still runs" || ok "and the program has ended"

step=fdp
: >"$log"
start_command
wait_for $patience owned || fail "no service"
start_app
wait_for $patience has "PostChatLine(\"$LIGADO\")" || fail "no greeting"
w "$standin" /say "QD4RV>fdp"
wait_for $patience app_gone && ok "fdp ends the program" || fail "the program still runs"
has "PostChatLine(\"$DESLIGADO\")" && fail "a farewell after fdp" || ok "no farewell after fdp"
kill "$cmd_pid" 2>/dev/null; wait "$cmd_pid" 2>/dev/null
wait_for $patience not_owned || fail "the name is still owned"

step=no_echolink
wait_for $patience grep -q '^[0-9]* exit$' "$log"
: >"$log"
w "$standin" /failcreate on
start_command
wait_for $patience command_gone && ok "the command ends when EchoLink cannot be reached" || fail "the command still runs"
owned && fail "the name is owned without EchoLink" || ok "no station on the bus"
start_app
sleep 3
kill -0 "$app_pid" 2>/dev/null && ok "the program runs without a station" || fail "the program ended"
has "PostChatLine(\"$LIGADO\")" && fail "a greeting without EchoLink" || ok "nothing reached EchoLink"
kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null
w "$standin" /failcreate off

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
