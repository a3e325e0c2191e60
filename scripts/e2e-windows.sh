#!/usr/bin/env bash
# End-to-end tests of the Windows program under Wine on its own Xvfb and its own Wine session,
# beside the stand-in EchoLink COM server registered in that prefix: real pointer clicks
# (xdotool), the windows measured with xwininfo, what the operator sees read from the screen, and
# every EchoLink call read from the stand-in's log. dizo-chat-e2e.exe is the program with a voice
# that records into that log; dizo-chat.exe itself runs where SAPI's own failure is the point.
# Usage: scripts/e2e-windows.sh --build DIR [--shots DIR] [--dpi N] [SCENARIO...]   (exit 77: skipped)
#   DIR is a Windows build (build/win64, build/win32); the prefix is DIR/e2e-wine, kept between runs.
#   --dpi N runs on a screen of N dots per inch (default 96), in a prefix of its own, on a screen
#   as much larger as the windows grow.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build=""
shots=""
dpi=96
scenarios=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build="$2"; shift 2 ;;
    --shots) shots="$2"; shift 2 ;;
    --dpi) dpi="$2"; shift 2 ;;
    *) scenarios+=("$1"); shift ;;
  esac
done
[ ${#scenarios[@]} -gt 0 ] ||
  scenarios=(startup relay manual windows fdp closing closing_with_about close_box absent failing failcreate hang sapi_fails
             focus hang_start hang_keying session_end one_copy guard)

skip() { echo "SKIP: $*"; exit 77; }
for tool in Xvfb xdotool xwininfo import wineserver; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done
[ -n "$build" ] || skip "no build: pass --build build/<windows preset>"
build="$(cd "$build" && pwd)"
product="$build/hosts/win32/dizo-chat.exe"
recording="$build/hosts/win32/dizo-chat-e2e.exe"
standin="$build/hosts/com/dizo-echolink-standin.exe"
typer="$build/hosts/win32/dizo-e2e-type.exe"
layout="$build/hosts/win32/dizo-e2e-layout.exe"
for f in "$product" "$recording" "$standin" "$typer" "$layout"; do [ -f "$f" ] || skip "$f is not built"; done

T="$(mktemp -d /tmp/dizo-e2e-win.XXXXXX)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wineserver -k </dev/null >/dev/null 2>&1
  wait 2>/dev/null
  [ -n "${DIZO_E2E_KEEP:-}" ] && echo "kept $T" || rm -rf "$T"
}
trap cleanup EXIT

# Nothing started here keeps this script's streams: CTest reads them and would wait for it.
Xvfb -displayfd 3 -noreset -screen 0 $((1024 * dpi / 96))x$((768 * dpi / 96))x24 -nolisten tcp 3>"$T/display" </dev/null >"$T/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do [ -s "$T/display" ] && break; sleep 0.05; done
[ -s "$T/display" ] || skip "Xvfb did not start: $(tail -1 "$T/xvfb.log")"
export DISPLAY=":$(head -1 "$T/display")"

# Our own Wine session on our own prefix (the shared set-up: no debugger, no 2-second window
# teardown, the classic font names), started after DISPLAY so its desktop is this Xvfb.
prefix="$build/e2e-wine/prefix"
[ "$dpi" = 96 ] || prefix+="-dpi$dpi"
source "$root/scripts/wine/session.sh" "$prefix" || skip "the Wine session did not start"
# The screen's dots per inch, read by each program as it starts.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}
set_dpi "$dpi" || skip "cannot set the prefix's dpi"
trap cleanup EXIT

failures=0
fail() { echo "FAIL [$scenario]: $*"; failures=$((failures + 1)); }
ok() { echo "ok   [$scenario]: $*"; }
# Milliseconds of a monotonic clock (10 ms steps): the wall clock may be stepped while we time.
now_ms() { local up; read -r up _ </proc/uptime; echo $(( ${up/./} * 10 )); }
# A wait ends as soon as its event comes; the limit only ends a wait for what never comes,
# so it is sized for a loaded machine (Wine, Xvfb and the screen reads are slow there).
patience=20
wait_for() {  # wait_for SECONDS COMMAND...: polls every 50 ms
  local limit=$(( $(now_ms) + $1 * 1000 )); shift
  until "$@"; do [ "$(now_ms)" -lt "$limit" ] || return 1; sleep 0.05; done
}

# ---- the stand-in EchoLink -------------------------------------------------------------------
log="$T/standin.log"
standin() { wine "$standin" "$@" </dev/null >>"$T/standin.out" 2>&1; }
# A registered stand-in with a fresh log whose lines carry their time; every mode off.
use_standin() { rm -f "$log"; standin /regserver /log "Z:$log" && standin /stamps on; }
calls() { sed -E 's/^[0-9]+ //' "$log" 2>/dev/null; }
ops() { calls | grep -vxE 'start|exit'; }  # what the program did, without the server's own start and end
has_call() { calls | grep -qxF -- "$1"; }
count_call() { calls | grep -cxF -- "$1"; }
count_is() { [ "$(count_call "$2")" = "$1" ]; }  # count_is N CALL, re-read at every poll
call_ms() {  # the time of the Nth (default last) log line equal to $1
  awk -v want="$1" '{ t = $1; sub(/^[0-9]+ /, ""); if ($0 == want) print t }' "$log" | sed -n "${2:-\$}p"
}
say() { standin /say "$1"; }
LIGADO='PostChatLine(" Dizo chat está ligado...")'
DESLIGADO='PostChatLine(" Dizo chat está desligado.")'

# ---- windows on the screen --------------------------------------------------------------------
# The X window of a top-level window by its exact caption, and its outer size.
window() { xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | head -1 | awk '{print $1}'; }
mapped() { [ -n "$(window "$1")" ] && xwininfo -id "$(window "$1")" 2>/dev/null | grep -q 'IsViewable'; }
unmapped() { ! mapped "$1"; }
size() { xwininfo -id "$(window "$1")" 2>/dev/null | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }
width_is() { [ "$(size "$1" | cut -dx -f1)" = "$2" ]; }
origin() { xwininfo -id "$(window "$1")" 2>/dev/null | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} END{print x, y}'; }
shot() {  # shot NAME CAPTION
  [ -n "$shots" ] || return 0
  mkdir -p "$shots"; import -window "$(window "$2")" "$shots/$1.png" 2>/dev/null || fail "screenshot $1"
}

# Twips to the screen's pixels, to the nearest (1440 twips an inch).
px() { echo $(( ($1 * dpi + 720) / 1440 )); }
# Centre of a control of a description, in client pixels.
centre() {  # centre FRM NAME
  awk -v name="$2" -v dpi="$dpi" '$1 == "Begin" && $3 == name {on = 1} on && $1 == "Left" {l = $3} on && $1 == "Top" {t = $3}
    on && $1 == "Width" {w = $3} on && $1 == "Height" {h = $3; printf "%d %d\n", (l + w / 2) * dpi / 1440, (t + h / 2) * dpi / 1440; exit}' \
    "$root/relay/forms/$1"
}
# The screen position of a window's client area: its outer size less the client size its
# description gives (frame borders equal on the left, right and bottom; the help panel widens the
# main window, its client height stays).
client() {  # client CAPTION FRM -> "X Y"
  local cw ch ow oh ox oy bx
  read -r cw ch < <(awk -v dpi="$dpi" '$1 == "ClientWidth" {w = $3} $1 == "ClientHeight" {h = $3}
    END {print int(w * dpi / 1440 + 0.5), int(h * dpi / 1440 + 0.5)}' "$root/relay/forms/$2")
  IFS=x read -r ow oh < <(size "$1")
  read -r ox oy < <(origin "$1")
  bx=$(( (oh - ch) > 0 ? 4 : 0 ))
  echo $((ox + bx)) $((oy + oh - ch - bx))
}
click() {  # click CAPTION FRM NAME [COUNT]
  local cx cy x y
  read -r cx cy < <(client "$1" "$2")
  read -r x y < <(centre "$2" "$3")
  xdotool mousemove $((cx + x)) $((cy + y)) click --repeat "${4:-1}" --delay 80 1
  sleep 0.15
}
type_text() { xdotool type --delay 20 -- "$1"; sleep 0.2; }
# Characters outside the keyboard map, handed to the focused control as the keyboard's WM_CHAR:
# xdotool types them on a key it maps and unmaps at once, and Wine reads the character only after
# the unmapping, so they never arrive. Posted before any later input, so a click after it sees them.
type_chars() { LC_ALL=C.UTF-8 wine "$typer" "$main" "$1" </dev/null >>"$T/standin.out" 2>&1; }
pixel() {  # pixel X Y (screen) -> "r,g,b"
  import -window root -crop "1x1+$1+$2" txt:- 2>/dev/null | sed -n '2s/.*(\([0-9]*,[0-9]*,[0-9]*\).*/\1/p'
}
# The relay's lamp, as the operator sees it: red while the relay is on (Image2, client 200,112).
lamp_red() {
  local cx cy rgb r g
  read -r cx cy < <(client "$main" Form1.frm)
  rgb=$(pixel $((cx + $(px 3165))) $((cy + $(px 1830)))); r=${rgb%%,*}; g=${rgb#*,}; g=${g%%,*}
  [ "${r:-0}" -gt 150 ] && [ "${g:-255}" -lt 120 ]
}
lamp_not_red() { ! lamp_red; }

app_pid=""
start_app() {  # start_app EXE [ARG...]
  wine "$@" </dev/null >"$T/app.log" 2>&1 &
  app_pid=$!; pids+=($app_pid)
  local limit=$(( $(now_ms) + ${DIZO_E2E_START_S:-40} * 1000 ))
  until mapped "$main"; do
    ended && { fail "the program ended at start-up with status $(exit_code): $(tail -3 "$T/app.log")"; return 1; }
    [ "$(now_ms)" -lt "$limit" ] || { fail "the main window did not appear"; return 1; }
    sleep 0.05
  done
  sleep 0.5  # the first paint after mapping
}
ended() { ! kill -0 "$app_pid" 2>/dev/null; }
exit_code() { wait "$app_pid"; echo $?; }
ends_cleanly() {  # ends_cleanly WHAT: the program ends by itself with status 0
  wait_for 15 ended || { fail "still running after $1"; return; }
  local code; code=$(exit_code)
  [ "$code" = 0 ] && ok "$1 ended the program (status 0)" || fail "status $code after $1"
}
# Ends what a scenario left running: the program by its own Sair, so that it lets go of the
# stand-in and the stand-in server leaves by itself (a killed client leaves it waiting).
stop_app() {
  if ! ended; then
    click "$main" Form1.frm sair
    wait_for $patience ended || kill "$app_pid" 2>/dev/null
  fi
  wait "$app_pid" 2>/dev/null
  wait_for $patience standin_gone || standin /crash
}
# Whether this prefix's stand-in server has left; another run's, in its own prefix, is not ours to
# wait for. The pattern must not match the text that holds it: pgrep leaves out only its own
# process, and a shell whose command line held the plain name kept every wait to its limit.
standin_gone() {
  local p
  for p in $(pgrep -f 'dizo-echolink-standin[.]exe -Embedding'); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 1
  done
  return 0
}

# The program started beside a fresh stand-in, once it has announced itself.
start_announced() {  # start_announced EXE
  use_standin && start_app "$1" || return 1
  wait_for $patience has_call "$LIGADO" || fail "no start-up announcement: $(calls | tr '\n' '|')"
}
# A spoken chat line relayed: sets on, spoke and off to the times of the keying, the speech (empty
# when the voice heard nothing) and the unkeying; fails when the transmitter was not unkeyed.
relay_bom_dia() {
  say "QD4RV>bom dia="
  wait_for $patience has_call 'SetTransmit(0)' || { fail "transmitter not unkeyed after a spoken line"; return 1; }
  on=$(call_ms 'SetTransmit(-1)'); spoke=$(call_ms 'voice Speak("bom dia", 17)'); off=$(call_ms 'SetTransmit(0)')
}

# With oEchoLink empty the window still works: the lamps switch and Sair ends the program.
works_alone() {  # works_alone WHEN
  wait_for $patience lamp_red && ok "red lamp shown $1" || fail "the lamp is not red $1"
  click "$main" Form1.frm desligar
  wait_for $patience lamp_not_red && ok "desligar switches the lamps $1" || fail "the lamp did not change $1"
  click "$main" Form1.frm sair
  ends_cleanly "sair $1"
}

main="Dizo Chat por QD4RV "   # the caption ends in a blank
about="Sobre"

scenario_startup() {
  local t0=$(now_ms)
  use_standin && start_app "$recording" || return
  ok "the window appeared after $(( $(now_ms) - t0 )) ms"
  wait_for $patience has_call "$LIGADO" && ok "announced on start-up, \"á\" intact" || fail "no announcement: $(calls | tr '\n' '|')"
  sleep 0.5
  [ "$(ops | head -3 | tr '\n' '|')" = "create|Advise|$LIGADO|" ] && ok "created, connected, then announced once" ||
    fail "start-up calls: $(calls | tr '\n' '|')"
  wait_for $patience lamp_red && ok "red lamp shown" || fail "the lamp is not red"
  [ -z "$(window "Dizo Chat por QD4RV")" ] && ok "caption keeps its final blank" || fail "the caption lost its final blank"
  # Its descriptions and pictures are read where they lie inside the program: nothing unpacked.
  local unpacked; unpacked=$(find "$WINEPREFIX/drive_c" -maxdepth 6 -type d -name 'dizo-chat-*' 2>/dev/null | head -1)
  [ -z "$unpacked" ] && ok "no folder written for its files" || fail "a folder was written: $unpacked"
  stop_app
}

scenario_relay() {
  start_announced "$recording" || return
  if relay_bom_dia; then
    [ -n "$spoke" ] && ok "'bom dia' spoken literally by the voice" || fail "not spoken: $(calls | tr '\n' '|')"
    [ -n "$spoke" ] && [ $((spoke - on)) -ge 1000 ] && [ $((off - spoke)) -ge 300 ] &&
      ok "keyed $((spoke - on)) ms before the speech and $((off - spoke)) ms through it" ||
      fail "keying: on $on, speech ${spoke:-none}, off $off"
  fi
  say "QD4RV>cq test>"
  wait_for $patience has_call 'SendMorse(0, VT_BSTR "cq test>")' && ok "Morse line handed to EchoLink" || fail "no SendMorse"
  [ "$(count_call 'SetTransmit(-1)')" = 1 ] && ok "the Morse line does not key" || fail "the Morse line keyed"

  click "$main" Form1.frm desligar
  wait_for $patience has_call "$DESLIGADO" && ok "desligar announces" || fail "desligar did not announce"
  wait_for $patience lamp_not_red && ok "the lamp changes" || fail "the lamp is still red"
  shot win32-main-relay-off "$main"
  say "QD4RV>bom dia="; say "QD4RV>cq>"
  # Once fired, both lines wait in the program's queue as posted messages, which Windows hands
  # out before any later input: when ligar's click has announced, both have been handled.
  wait_for $patience has_call 'ChatTextReceived("QD4RV>cq>") to 1 sink(s)' || fail "the stand-in did not fire"
  click "$main" Form1.frm ligar
  wait_for $patience count_is 2 "$LIGADO" && ok "ligar announces" || fail "ligar did not announce"
  [ "$(count_call 'SetTransmit(-1)')" = 1 ] && ! has_call 'SendMorse(0, VT_BSTR "cq>")' && ok "relay off: lines ignored" ||
    fail "relay off still relays"
  wait_for $patience lamp_red && ok "the lamp is red again" || fail "the lamp is not red after ligar"
  click "$main" Form1.frm sair
  wait_for $patience has_call "$DESLIGADO" && count_is 2 "$DESLIGADO" && ok "sair announces while on" || fail "sair did not announce"
  ends_cleanly sair
  wait_for $patience has_call released && ok "EchoLink's object released" || fail "the object was not released"
  stop_app
}

scenario_manual() {
  # The operator's own sends, typed with real key events into the EDIT boxes.
  start_announced "$recording" || return
  type_text "primeiro"
  click "$main" Form1.frm remoto
  wait_for $patience has_call 'PostChatLine("primeiro =")' && ok "the focus starts in Text13" ||
    fail "typing at start-up did not reach Text13: $(calls | tail -2 | tr '\n' '|')"
  click "$main" Form1.frm Text1; type_text "cq"; click "$main" Form1.frm Text13; type_text "boa noite"
  click "$main" Form1.frm remoto
  wait_for $patience has_call 'PostChatLine("boa noite =")' &&
    [ "$(ops | tail -2 | tr '\n' '|')" = 'PostChatLine("cq>")|PostChatLine("boa noite =")|' ] &&
    ok "remoto posts both boxes into the chat, Morse first" || fail "remoto: $(calls | tail -3 | tr '\n' '|')"
  click "$main" Form1.frm Text1; type_text "teste"; click "$main" Form1.frm local
  wait_for $patience has_call 'SendMorse(0, VT_BSTR "teste")' && ok "local hands Text1 to EchoLink as Morse" ||
    fail "local did not send Morse: $(calls | tail -2 | tr '\n' '|')"
  has_call 'SetTransmit(-1)' && fail "local keyed for Morse alone" || ok "a Morse-only local send does not key"
  click "$main" Form1.frm Text13; type_text "ol"; type_chars "á"; click "$main" Form1.frm local
  wait_for $patience has_call 'SetTransmit(0)' || { fail "local speech: not unkeyed: $(calls | tail -3 | tr '\n' '|')"; stop_app; return; }
  on=$(call_ms 'SetTransmit(-1)'); spoke=$(call_ms 'voice Speak("olá", 17)'); off=$(call_ms 'SetTransmit(0)')
  # No pause before a local speech (a chat line has one); unkeyed once the voice has finished.
  [ -n "$spoke" ] && [ "$spoke" -ge "$on" ] && [ $((off - spoke)) -ge 100 ] &&
    ok "local speech: keyed, \"olá\" spoken, unkeyed $((off - spoke)) ms later" ||
    fail "local speech: keyed ${on:-never}, spoke ${spoke:-never}, unkeyed $off: $(calls | tail -4 | tr '\n' '|')"
  # The box was emptied and kept the focus: the next words are a line of their own.
  type_text "de novo"; click "$main" Form1.frm remoto
  wait_for $patience has_call 'PostChatLine("de novo =")' && ok "the sent box is emptied and keeps the focus" ||
    fail "after the local send: $(calls | tail -2 | tr '\n' '|')"
  stop_app
}

scenario_windows() {
  # One run through both windows: the help panel, the modal About window.
  use_standin && start_app "$recording" || return
  ok "main window mapped as $(size "$main")"
  shot win32-main "$main"
  # The stored outer sizes assume the classic borders: the help panel adds its client width
  # (11790 - 6420 twips) to whatever borders Wine draws, and closing it gives the start size back.
  local start wide; start=$(size "$main"); wide=$(( ${start%x*} + $(px 11640) - $(px 6270) ))
  click "$main" Form1.frm a_ajuda
  wait_for $patience width_is "$main" "$wide" && [ "$(size "$main" | cut -dx -f2)" = "${start#*x}" ] &&
    ok "help shown: $(size "$main")" || fail "help panel: outer size $(size "$main"), expected ${wide}x${start#*x}"
  shot win32-main-help "$main"
  click "$main" Form1.frm f_ajuda
  wait_for $patience width_is "$main" "${start%x*}" && [ "$(size "$main")" = "$start" ] &&
    ok "help hidden: back at $(size "$main")" || fail "help hidden: outer size $(size "$main"), at start $start"
  click "$main" Form1.frm sobre
  wait_for $patience mapped "$about" && ok "About window shown" || { fail "no About window"; stop_app; return; }
  sleep 0.5; shot win32-about "$about"
  # Modal: the main window's buttons do nothing while the About window is up.
  click "$main" Form1.frm desligar; click "$main" Form1.frm sair
  click "$about" sobre_.frm retorna
  wait_for $patience unmapped "$about" && ok "Retornar closed it" || fail "About still up"
  # Input is handled in order: once Retornar has been, so have the two clicks before it.
  ! ended && ! has_call "$DESLIGADO" && ok "main window blocked while About is up" || fail "the main window took a click"
  click "$main" Form1.frm desligar
  wait_for $patience has_call "$DESLIGADO" && ok "main window takes clicks again" || fail "main window still blocked"
  stop_app
}

scenario_fdp() {
  start_announced "$recording" || return
  click "$main" Form1.frm desligar; wait_for $patience has_call "$DESLIGADO"
  say "QD4RV>tchau fdp"
  ends_cleanly "'fdp' with the relay off"
  [ "$(calls | grep -c '^PostChatLine')" = 2 ] && ok "nothing posted on fdp" || fail "fdp posted: $(calls | tr '\n' '|')"
  stop_app
}

scenario_closing() {
  start_announced "$recording" || return
  standin /close
  wait_for $patience has_call "$DESLIGADO" && ok "Closing: farewell posted" || fail "no farewell on Closing"
  ends_cleanly Closing
  stop_app
}

# EchoLink closing while the About window is up: the farewell goes at once, the main window goes,
# and the program ends when the About window, the last one left, is closed.
scenario_closing_with_about() {
  start_announced "$recording" || return
  click "$main" Form1.frm sobre
  wait_for $patience mapped "$about" || { fail "no About window"; stop_app; return; }
  standin /close
  wait_for $patience has_call "$DESLIGADO" && ok "Closing: farewell posted" || fail "no farewell on Closing"
  sleep 1
  ! ended && mapped "$about" && ok "the About window stays up" || fail "the About window went with the main window"
  unmapped "$main" && ok "the main window has gone" || fail "the main window is still shown"
  click "$about" sobre_.frm retorna
  ends_cleanly "closing the About window"
  stop_app
}

# The focus as the operator sees it, in a box and on a button, both reached by the keyboard.
scenario_focus() {
  start_announced "$recording" || return
  type_text "em foco"
  shot win32-focus-in-box "$main"
  xdotool key Tab; sleep 0.4
  shot win32-focus-on-button "$main"
  xdotool key Tab; sleep 0.3; xdotool key Return
  wait_for $patience has_call "$DESLIGADO" && ok "Tab and Enter reached desligar" || fail "desligar by keyboard: $(calls | tr '\n' '|')"
  stop_app
}

scenario_close_box() {
  start_announced "$recording" || return
  local ox oy ow oh
  read -r ox oy < <(origin "$main"); IFS=x read -r ow oh < <(size "$main")
  # Wine draws the caption's buttons itself when unmanaged: the close box is the rightmost.
  xdotool mousemove $((ox + ow - 14)) $((oy + 13)) click 1
  ends_cleanly "the close box"
  has_call "$DESLIGADO" && fail "the close box posted a farewell" || ok "the close box posts nothing"
  stop_app
}

scenario_absent() {
  standin /unregserver; rm -f "$log"
  start_app "$recording" || return
  ok "the window opens without EchoLink"
  works_alone "without EchoLink"
  stop_app
}

scenario_failing() {
  use_standin && standin /fail on && start_app "$recording" || return
  wait_for $patience has_call "$LIGADO -> E_FAIL" && ok "a failing announcement is skipped" || fail "start-up: $(calls | tr '\n' '|')"
  wait_for $patience lamp_red && ok "the relay is on all the same" || fail "the lamp is not red"
  say "QD4RV>bom dia="
  wait_for $patience has_call 'SetTransmit(0) -> E_FAIL' && has_call 'voice Speak("bom dia", 17)' &&
    ok "every step runs though EchoLink fails" || fail "relay steps: $(calls | tr '\n' '|')"
  click "$main" Form1.frm sair
  wait_for $patience has_call "$DESLIGADO -> E_FAIL" || fail "sair did not try its farewell"
  ends_cleanly "sair with EchoLink failing"
  stop_app
}

scenario_failcreate() {
  use_standin && standin /failcreate on && start_app "$recording" || return
  wait_for $patience has_call 'create -> E_FAIL' && ok "creation refused" || fail "no creation: $(calls | tr '\n' '|')"
  works_alone "after a failed creation"
  [ "$(ops | tr '\n' '|')" = "create -> E_FAIL|" ] && ok "oEchoLink stayed empty: no call" || fail "calls: $(calls | tr '\n' '|')"
  stop_app
}

scenario_hang() {
  start_announced "$recording" || return
  standin /hang 8000
  local t0 t1
  t0=$(now_ms); click "$main" Form1.frm desligar
  wait_for 12 lamp_not_red; t1=$(now_ms)
  # The farewell's call is given up after the binding's 2 s bound; then the lamps change.
  [ $((t1 - t0)) -ge 1500 ] && [ $((t1 - t0)) -lt 4500 ] && ok "a hung EchoLink held the window $((t1 - t0)) ms" ||
    fail "the window was held $((t1 - t0)) ms by a call hung for 8000 ms"
  standin /hang 0
  wait_for 10 has_call "$DESLIGADO" && ok "the hung call reached EchoLink in the end" || fail "the call never arrived"
  t0=$(now_ms); click "$main" Form1.frm ligar
  wait_for 5 lamp_red; t1=$(now_ms)
  wait_for 5 count_is 2 "$LIGADO" && [ $((t1 - t0)) -lt 2000 ] && ok "EchoLink answers again ($((t1 - t0)) ms)" ||
    fail "after the hang: $((t1 - t0)) ms, $(calls | tr '\n' '|')"
  # Hung again as the operator leaves: the farewell and the disconnection each wait one bound at
  # most, so the program is gone long before EchoLink answers.
  standin /hang 20000
  t0=$(now_ms); click "$main" Form1.frm sair
  wait_for 15 ended; t1=$(now_ms)
  [ $((t1 - t0)) -lt 8000 ] && ok "sair with EchoLink hung ended the program in $((t1 - t0)) ms" ||
    fail "sair with EchoLink hung for 20 s took $((t1 - t0)) ms"
  ends_cleanly "sair with EchoLink hung"
  # The stand-in holds the hung calls of a client that is gone: it cannot leave by itself, and it
  # takes no command while it sleeps in the farewell, whose line it writes when it wakes.
  standin /hang 0
  wait_for 30 count_is 2 "$DESLIGADO"
  standin /crash
  stop_app
}

# The log's SetTransmit lines, in order, as one string: "-1 0 0".
transmits() { calls | sed -nE 's/^SetTransmit\((-?[0-9]+)\)$/\1/p' | tr '\n' ' ' | sed 's/ $//'; }
ends_unkeyed() { [ "$(transmits | awk '{print $NF}')" = 0 ]; }

scenario_hang_start() {
  # EchoLink hung at its creation (as one still starting): the program waits one bound for it,
  # then works alone, and is connected once EchoLink answers.
  use_standin && standin /hangcreate 7000 || return
  local t0 t1
  t0=$(now_ms)
  start_app "$recording" || { standin /hangcreate 0; return; }
  t1=$(now_ms)
  ! has_call create && ok "the window appeared after $((t1 - t0)) ms, before EchoLink had made its object" ||
    fail "the window waited for the hung creation ($((t1 - t0)) ms): $(calls | tr '\n' '|')"
  wait_for $patience lamp_red && ok "red lamp shown while EchoLink is hung" || fail "the lamp is not red"
  t0=$(now_ms); click "$main" Form1.frm desligar; wait_for 10 lamp_not_red; t1=$(now_ms)
  ! has_call create && [ $((t1 - t0)) -lt 1500 ] && ok "desligar switched the lamps in $((t1 - t0)) ms, alone" ||
    fail "desligar took $((t1 - t0)) ms with EchoLink hung at its creation"
  standin /hangcreate 0
  wait_for $patience has_call Advise || { fail "never connected: $(calls | tr '\n' '|')"; stop_app; return; }
  wait_for 5 has_call "$DESLIGADO"
  [ "$(ops | tr '\n' '|')" = "create|Advise|$LIGADO|$DESLIGADO|" ] &&
    ok "connected once EchoLink answered, the announcements made meanwhile delivered in order" ||
    fail "after the late creation: $(calls | tr '\n' '|')"
  click "$main" Form1.frm ligar
  say "QD4RV>cq test>"
  wait_for $patience has_call 'SendMorse(0, VT_BSTR "cq test>")' && ok "chat lines relayed once connected" ||
    fail "no relay after the late creation: $(calls | tr '\n' '|')"
  click "$main" Form1.frm sair
  ends_cleanly "sair after a late creation"
  stop_app
}

scenario_hang_keying() {
  # EchoLink hangs on the keying, for longer than the program takes to end after sair: the
  # unkeying is in EchoLink's hands before the program is gone, and comes after the keying.
  start_announced "$recording" || return
  standin /hang 15000
  say "QD4RV>bom dia="
  wait_for $patience has_call 'voice Speak("bom dia", 17)' || fail "the line was not spoken: $(calls | tr '\n' '|')"
  local t0 t1
  t0=$(now_ms); click "$main" Form1.frm sair
  wait_for 40 ended; t1=$(now_ms)
  ended && ok "sair with the keying hung ended the program in $((t1 - t0)) ms" || fail "still running $((t1 - t0)) ms after sair"
  # The stand-in answers its calls one after another, 15 s each.
  wait_for 60 ends_unkeyed && ok "the stand-in's log ends with an unkeying: SetTransmit $(transmits)" ||
    fail "the transmitter was left keyed: SetTransmit $(transmits): $(calls | tr '\n' '|')"
  standin /hang 0
  wait_for 20 ended
  standin /crash
  stop_app
}

scenario_session_end() {
  # Windows ends the session while the program speaks (its window's thread held by the voice):
  # unkeyed at once by the watch on its own thread, then ended as the close box does.
  start_announced "$recording" || return
  say "QD4RV>$(printf 'bom dia a todos os colegas %.0s' 1 2 3 4)="
  wait_for $patience has_call 'SetTransmit(-1)' || { fail "not keyed"; stop_app; return; }
  sleep 1.5  # into the speech (1 s pause first, then 5 s of speech)
  local t0 t1 on off
  t0=$(now_ms)
  wine wineboot --end-session </dev/null >>"$T/standin.out" 2>&1 &
  local ender=$!
  wait_for 20 has_call 'SetTransmit(0)'; t1=$(now_ms)
  on=$(call_ms 'SetTransmit(-1)'); off=$(call_ms 'SetTransmit(0)' 1)
  has_call 'SetTransmit(0)' && [ $((t1 - t0)) -lt 3000 ] && ok "unkeyed $((t1 - t0)) ms after the session began to end" ||
    fail "session end: unkeyed after $((t1 - t0)) ms: $(calls | tr '\n' '|')"
  calls | grep -A2 -xF 'SetTransmit(0)' | grep -qxF 'voice Silence()' && ok "the voice silenced after the unkeying" ||
    fail "no silence after the unkeying: $(calls | tr '\n' '|')"
  wait_for 30 ended && ok "the program ended with the session" || fail "still running after the session ended"
  wait "$ender" 2>/dev/null
  # Ended by the session mid-call, the program never let go of its object: the stand-in stays.
  standin /crash
  stop_app
}

scenario_one_copy() {
  start_announced "$recording" || return
  local t0 t1 code
  t0=$(now_ms)
  timeout 60 wine "$recording" </dev/null >>"$T/app.log" 2>&1; code=$?
  t1=$(now_ms)
  [ "$code" = 0 ] && ok "a second copy ended by itself in $((t1 - t0)) ms" || fail "a second copy: status $code"
  [ "$(xwininfo -root -tree | grep -cF "\"$main\":")" = 1 ] && [ "$(count_call "$LIGADO")" = 1 ] &&
    ok "one window, one announcement: the second copy never reached EchoLink" ||
    fail "two copies: $(calls | tr '\n' '|')"
  ! ended && ok "the first copy runs on" || fail "the first copy ended"
  stop_app
}

scenario_guard() {
  # A 6 s limit and a sound output that no longer takes data: the relay's stop of the speech blocks
  # the window's thread, and the guard unkeys on its own at the limit plus 2 s, then cuts the audio.
  use_standin && start_app "$recording" /limit 6 /wedged || return
  wait_for $patience has_call "$LIGADO" || fail "no start-up announcement"
  say "QD4RV>$(printf 'bom dia a todos os colegas %.0s' 1 2 3 4 5 6 7 8)="
  wait_for 20 has_call 'SetTransmit(0)' || { fail "never unkeyed: $(calls | tr '\n' '|')"; stop_app; return; }
  local on off
  on=$(call_ms 'SetTransmit(-1)'); off=$(call_ms 'SetTransmit(0)' 1)
  [ $((off - on)) -ge 7500 ] && [ $((off - on)) -le 9000 ] && ok "the guard unkeyed $((off - on)) ms after the keying (limit 6 s + 2 s)" ||
    fail "unkeyed $((off - on)) ms after the keying: $(calls | tr '\n' '|')"
  calls | grep -A1 -xF 'SetTransmit(0)' | head -2 | tail -1 | grep -qxF 'voice Silence()' &&
    ok "the audio cut after the unkeying" || fail "no audio cut after the unkeying: $(calls | tr '\n' '|')"
  wait_for 10 count_is 2 'SetTransmit(0)' && ok "the relay's own unkeying followed once the audio let go" ||
    fail "the relay did not unkey: $(calls | tr '\n' '|')"
  click "$main" Form1.frm sair
  ends_cleanly "sair after the guard"
  stop_app
}

scenario_sapi_fails() {
  # The shipped program: SAPI under Wine cannot speak, and the transmitter is unkeyed all the same.
  start_announced "$product" || return
  relay_bom_dia && { [ $((off - on)) -ge 1000 ] && ok "keyed $((off - on)) ms, unkeyed after the voice failed" ||
    fail "keyed $((off - on)) ms"; }
  click "$main" Form1.frm sair
  ends_cleanly sair
  stop_app
}

# ---- one screen against another --------------------------------------------------------------
# Where Windows has a window and its descendants, as dizo-e2e-layout.exe prints them, and the
# screen as it was then: NAME.layout and NAME.png in $T.
capture() {  # capture CAPTION NAME
  wine "$layout" "$1" </dev/null 2>>"$T/standin.out" | tr -d '\r' >"$T/$2.layout"
  import -window root "$T/$2.png" 2>/dev/null
  [ -s "$T/$2.layout" ] && [ -s "$T/$2.png" ] || { fail "cannot capture $1"; return 1; }
  [ -z "$shots" ] || { mkdir -p "$shots"; import -window "$(window "$1")" "$shots/win32-dpi$dpi-$2.png" 2>/dev/null; }
}
# Both windows captured as REF-main and REF-about at the prefix's dpi, the program started by
# START...; it is left running.
capture_both() {  # capture_both REF START...
  "${@:2}" || return 1
  capture "$main" "$1-main" || return 1
  click "$main" Form1.frm sobre
  wait_for $patience mapped "$about" || { fail "no About window at $dpi dpi"; return 1; }
  sleep 0.5  # its first paint
  capture "$about" "$1-about" || return 1
  click "$about" sobre_.frm retorna
  wait_for $patience unmapped "$about" || { fail "Retornar did not close the About window at $dpi dpi"; return 1; }
}
# Every window of a layout against the same one at 96 dpi, grown by the screens' ratio: its place
# and size (the top-level's client size only), its region's box and area. Prints what differs.
layout_differs() {  # layout_differs REF HI
  awk -v r="$dpi" 'function far(got, want, slack) { d = got - want; return d > slack || -d > slack }
    FNR == 1 { file++ } file == 1 { ref[FNR] = $0; n = FNR; next }
    { split(ref[FNR], a, " "); what = $2 " " substr($0, index($0, $13))
      if (a[2] != $2) { print "window " FNR ": " a[2] " at 96 dpi, " $2 " here"; next }
      for (i = (FNR == 1 ? 5 : 3); i <= 11; i++) {
        if ((a[i] == "-") != ($i == "-")) { print what ": region only at one dpi"; break }
        if ($i == "-") continue
        want = i == 11 ? a[i] * (r / 96) ^ 2 : a[i] * r / 96
        if (far($i, want, i == 11 ? 0.04 * want + 8 : 2)) print what ": field " i - 2 " is " $i ", 96 dpi " a[i] " grown " int(want + 0.5)
      } }
    END { if (FNR != n) print FNR " windows, " n " at 96 dpi" }' "$1" "$2"
}
# The box of what is drawn dark inside each window (caption text, a picture's outline) of a shot,
# in the window's pixels; a border of 4 pixels at 96 dpi, grown as the window is, is left out so
# that a button's edge is not. One pass over the shot for all of them.
inks() {  # inks SHOT DPI < "x y w h ..." lines (screen) -> "x y w h" lines
  local edge=$(( (4 * $2 + 48) / 96 )) x y w h crops=()
  while read -r x y w h _; do
    crops+=('(' +clone -crop "$((w - 2 * edge))x$((h - 2 * edge))+$((x + edge))+$((y + edge))" +repage -trim
            -format '%X %Y %w %h\n' -write info: +delete ')')
  done
  convert "$1" -colorspace gray -threshold 45% -negate "${crops[@]}" null: 2>/dev/null | tr -d '+' |
    awk -v edge="$edge" '{ print $1 + edge, $2 + edge, $3, $4 }'
}
# The buttons and the labels with a caption of a layout: "x y w h" on the screen, then the caption.
texts() {  # texts LAYOUT
  awk 'FNR == 1 { ox = $3; oy = $4; next } $2 == "qkButtons_H" || ($2 == "Static" && NF > 11) {
    t = $12; for (i = 13; i <= NF; i++) t = t " " $i; print ox + $3, oy + $4, $5, $6, t }' "$1"
}
# The ink of every button and label against the same one at 96 dpi, grown by the ratio.
ink_differs() {  # ink_differs REF HI
  paste -d' ' <(texts "$T/$1.layout" | inks "$T/$1.png" 96) <(texts "$T/$2.layout" | inks "$T/$2.png" "$dpi") \
    <(texts "$T/$2.layout" | cut -d' ' -f5-) |
    awk -v r="$dpi" 'function off(i) { w = $i * r / 96; return $(i + 4) - w > 0.08 * w + 3 ? 1 : w - $(i + 4) > 0.08 * w + 3 ? -1 : 0 }
      # Windows wraps a caption by its real width at each size: one line fewer is wider and lower.
      off(3) == 1 && off(4) == -1 { next }
      off(1) || off(2) || off(3) || off(4) { t = $9; for (i = 10; i <= NF; i++) t = t " " $i
        print "\"" t "\": ink " $5, $6, $7, $8 " here, " $1, $2, $3, $4 " at 96 dpi" }'
}
# The program at this dpi against itself at 96, as the operator sees it: both windows and every
# control in them grown by the screens' ratio, button regions with them, captions and pictures
# drawn to the same proportion; then the clicks land on the buttons at this dpi.
at_96_dpi() {  # the reference: both windows captured at 96 dpi, and the program ended
  local dpi=96 done=0
  set_dpi 96 && capture_both ref start_announced "$recording" && done=1
  if ! ended; then click "$main" Form1.frm sair; wait_for $patience ended; fi
  # Its stand-in is of no further use: not waited for.
  standin /crash
  stop_app
  [ "$done" = 1 ]
}
scenario_high_dpi() {
  [ "$dpi" != 96 ] || { fail "needs --dpi N with N other than 96"; return; }
  at_96_dpi || { set_dpi "$dpi"; return; }
  set_dpi "$dpi"
  capture_both hi start_announced "$recording" || { stop_app; return; }
  local w diff
  for w in main about; do
    diff=$(layout_differs "$T/ref-$w.layout" "$T/hi-$w.layout")
    [ -z "$diff" ] && ok "$w: $(wc -l <"$T/hi-$w.layout") windows and their regions $dpi/96 of their 96-dpi size" ||
      fail "$w at $dpi dpi: $(echo "$diff" | tr '\n' '|')"
    diff=$(ink_differs "ref-$w" "hi-$w")
    [ -z "$diff" ] && ok "$w: captions and pictures drawn in proportion" || fail "$w at $dpi dpi: $(echo "$diff" | tr '\n' '|')"
  done
  click "$main" Form1.frm desligar
  wait_for $patience has_call "$DESLIGADO" && wait_for $patience lamp_not_red && ok "desligar clicked at $dpi dpi" ||
    fail "desligar at $dpi dpi: $(calls | tr '\n' '|')"
  click "$main" Form1.frm ligar
  wait_for $patience count_is 2 "$LIGADO" && wait_for $patience lamp_red && ok "ligar clicked at $dpi dpi" ||
    fail "ligar at $dpi dpi: $(calls | tr '\n' '|')"
  click "$main" Form1.frm sair
  ends_cleanly "sair at $dpi dpi"
  stop_app
}

# ---- the keyboard and pointer table, shared with the Qt program -------------------------------
source "$root/scripts/e2e-input.sh"
input_start() { start_announced "$recording"; }
input_stop() {
  if ! ended && mapped "$about"; then click "$about" sobre_.frm retorna; wait_for $patience unmapped "$about"; fi
  stop_app
}
input_at() {
  local cx cy x y
  # xwininfo without a window waits for a click on one: a window that has gone is a failure.
  mapped "$([[ "$1" == about:* ]] && echo "$about" || echo "$main")" || return 1
  case "$1" in
    background) read -r cx cy < <(client "$main" Form1.frm); echo $((cx + 4)) $((cy + 4)) ;;
    about:*) read -r cx cy < <(client "$about" sobre_.frm); read -r x y < <(centre sobre_.frm "${1#about:}"); echo $((cx + x)) $((cy + y)) ;;
    *) read -r cx cy < <(client "$main" Form1.frm); read -r x y < <(centre Form1.frm "$1"); echo $((cx + x)) $((cy + y)) ;;
  esac
}
input_posted() { calls | sed -nE 's/^PostChatLine\("(.*)"\)( -> .*)?$/\1/p'; }
input_morse() { calls | sed -nE 's/^SendMorse\(0, VT_BSTR "(.*)"\)( -> .*)?$/\1/p'; }
input_running() { ! ended; }
input_about_shown() { mapped "$about"; }
input_width() { mapped "$main" && size "$main" | cut -dx -f1; }

for scenario in "${scenarios[@]}"; do
  t0=$(now_ms)
  if declare -F "scenario_$scenario" >/dev/null; then
    "scenario_$scenario"
    echo "     [$scenario]: $(( $(now_ms) - t0 )) ms"
  else
    fail "unknown scenario"
  fi
done
[ "$failures" -eq 0 ] && echo "e2e-windows: all passed (${scenarios[*]})" || echo "e2e-windows: $failures failure(s)"
[ "$failures" -eq 0 ]
