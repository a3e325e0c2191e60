#!/usr/bin/env bash
# End-to-end tests of the Windows program: dizo-chat.exe under Wine on its own Xvfb and a fresh
# Wine prefix, clicked with real pointer events (xdotool), its windows measured with xwininfo.
# Usage: scripts/e2e-windows.sh --exe PATH [--shots DIR] [SCENARIO...]   (exit 77: skipped)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
exe=""
shots=""
scenarios=()
while [ $# -gt 0 ]; do
  case "$1" in
    --exe) exe="$2"; shift 2 ;;
    --shots) shots="$2"; shift 2 ;;
    *) scenarios+=("$1"); shift ;;
  esac
done
[ ${#scenarios[@]} -gt 0 ] || scenarios=(windows sair close_box)

skip() { echo "SKIP: $*"; exit 77; }
for tool in Xvfb xdotool xwininfo import; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done
[ -n "$exe" ] && [ -f "$exe" ] || skip "no program: pass --exe build/<windows preset>/hosts/win32/dizo-chat.exe"
# A 64-bit loader runs both builds where it has WoW64; the 32-bit one alone runs only i686.
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
[ -x "$wine" ] || wine="$(command -v wine)"
[ -x "$wine" ] || skip "wine is not installed"

T="$(mktemp -d /tmp/dizo-e2e-win.XXXXXX)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  WINEPREFIX="$T/prefix" wineserver -k 2>/dev/null
  wait 2>/dev/null
  [ -n "${DIZO_E2E_KEEP:-}" ] && echo "kept $T" || rm -rf "$T"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$T/display" 2>"$T/xvfb.log" &
pids+=($!)
for _ in $(seq 1 100); do [ -s "$T/display" ] && break; sleep 0.05; done
[ -s "$T/display" ] || skip "Xvfb did not start: $(tail -1 "$T/xvfb.log")"
export DISPLAY=":$(head -1 "$T/display")"

# A fresh prefix: no window manager's 2-second DestroyWindow, and a crash exits instead of hanging
# in the debugger. The first command's output goes to a file: Wine's services inherit it.
export WINEPREFIX="$T/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
"$wine" wineboot -i >"$T/wineboot.log" 2>&1 || skip "wineboot failed: $(tail -1 "$T/wineboot.log")"
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$T/wineboot.log" 2>&1
"$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d nodebugger.exe /f \
  >>"$T/wineboot.log" 2>&1

failures=0
fail() { echo "FAIL [$scenario]: $*"; failures=$((failures + 1)); }
ok() { echo "ok   [$scenario]: $*"; }
now_ms() { date +%s%3N; }
wait_for() {  # wait_for SECONDS COMMAND...: polls every 50 ms
  local limit=$(( $(now_ms) + $1 * 1000 )); shift
  until "$@"; do [ "$(now_ms)" -lt "$limit" ] || return 1; sleep 0.05; done
}

# The X window of a top-level window by its exact caption, and its outer size.
window() { xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | head -1 | awk '{print $1}'; }
mapped() { [ -n "$(window "$1")" ] && xwininfo -id "$(window "$1")" 2>/dev/null | grep -q 'IsViewable'; }
size() { xwininfo -id "$(window "$1")" 2>/dev/null | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }
width_is() { [ "$(size "$1" | cut -dx -f1)" = "$2" ]; }
origin() { xwininfo -id "$(window "$1")" 2>/dev/null | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} END{print x, y}'; }
shot() {  # shot NAME CAPTION
  [ -n "$shots" ] || return 0
  mkdir -p "$shots"; import -window "$(window "$2")" "$shots/$1.png" 2>/dev/null || fail "screenshot $1"
}

# Centre of a control of a description, in client pixels at 15 twips a pixel.
centre() {  # centre FRM NAME
  awk -v name="$2" '$1 == "Begin" && $3 == name {on = 1} on && $1 == "Left" {l = $3} on && $1 == "Top" {t = $3}
    on && $1 == "Width" {w = $3} on && $1 == "Height" {h = $3; printf "%d %d\n", (l + w / 2) / 15, (t + h / 2) / 15; exit}' \
    "$root/relay/forms/$1"
}
# Clicks a control of a window, the window's client area found from its outer size and the
# client size its description gives (frame borders equal on the left, right and bottom).
click() {  # click CAPTION FRM NAME [COUNT]
  local cw ch ow oh ox oy bx by x y
  read -r cw ch < <(awk '$1 == "ClientWidth" {w = $3} $1 == "ClientHeight" {h = $3} END {print int(w / 15 + 0.5), int(h / 15 + 0.5)}' "$root/relay/forms/$2")
  IFS=x read -r ow oh < <(size "$1")
  read -r ox oy < <(origin "$1")
  # The help panel widens the main window: its client height stays, the border is (height - client) known.
  read -r x y < <(centre "$2" "$3")
  bx=$(( (oh - ch) > 0 ? 4 : 0 ))
  by=$(( oh - ch - bx ))
  xdotool mousemove $((ox + bx + x)) $((oy + by + y)) click --repeat "${4:-1}" --delay 80 1
}

app_pid=""
start_app() {
  "$wine" "$exe" >"$T/app.log" 2>&1 &
  app_pid=$!; pids+=($app_pid)
  wait_for 40 mapped "$main" || { fail "the main window did not appear"; return 1; }
  sleep 0.5  # the first paint after mapping
}
ended() { ! kill -0 "$app_pid" 2>/dev/null; }
stop_app() { kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; WINEPREFIX="$T/prefix" wineserver -w 2>/dev/null; }

main="Dizo Chat por QD4RV "   # the caption ends in a blank
about="Sobre"
for scenario in "${scenarios[@]}"; do
  case "$scenario" in
    windows)
      # One run through both windows: start-up, the help panel, the modal About window.
      start_app || continue
      [ -z "$(window "Dizo Chat por QD4RV")" ] && ok "main window mapped as $(size "$main"), caption with its final blank" ||
        fail "the caption lost its final blank"
      shot win32-main "$main"
      click "$main" Form1.frm a_ajuda
      wait_for 5 width_is "$main" 786 && ok "help shown: $(size "$main")" ||
        fail "help panel: outer size $(size "$main"), expected width 786 (11790 twips)"
      shot win32-main-help "$main"
      click "$main" Form1.frm f_ajuda
      wait_for 5 width_is "$main" 428 && ok "help hidden: $(size "$main")" ||
        fail "help hidden: outer size $(size "$main"), expected width 428 (6420 twips)"
      click "$main" Form1.frm sobre
      wait_for 10 mapped "$about" && ok "About window shown" || { fail "no About window"; stop_app; continue; }
      sleep 0.5; shot win32-about "$about"
      # Modal: the main window's Sair does nothing while the About window is up.
      click "$main" Form1.frm sair; sleep 1
      ended && fail "Sair worked behind the modal About window" || ok "main window blocked while About is up"
      click "$about" sobre_.frm retorna
      wait_for 5 bash -c "! xwininfo -root -tree | grep -qF '\"$about\":'" && ok "Retornar closed it" || fail "About still up"
      stop_app ;;
    sair)
      start_app || continue
      click "$main" Form1.frm sair
      wait_for 10 ended && ok "Sair ended the program" || fail "still running after Sair"
      wait "$app_pid"; code=$?
      [ "$code" = 0 ] && ok "exit code 0" || fail "exit code $code"
      stop_app ;;
    close_box)
      start_app || continue
      read -r ox oy < <(origin "$main"); IFS=x read -r ow oh < <(size "$main")
      # Wine draws the caption's buttons itself when unmanaged: the close box is the rightmost.
      xdotool mousemove $((ox + ow - 14)) $((oy + 13)) click 1
      wait_for 10 ended && ok "the close box ended the program" || fail "still running after the close box"
      stop_app ;;
    *) fail "unknown scenario" ;;
  esac
done
[ "$failures" = 0 ]
