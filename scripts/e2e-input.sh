# The keyboard and pointer table (scripts/e2e-input.table) for either program: sourced by
# scripts/e2e.sh and scripts/e2e-windows.sh, which give it their own ways in:
#   input_start            a fresh program beside a fresh EchoLink, its window up; 1 when it failed
#   input_stop             ends it and what it started
#   input_at CONTROL       the screen position "X Y" of a control's centre (main window, about:NAME
#                          for the About window, "background" for a bare spot of the main window)
#   input_posted           every chat line posted so far, one a line, as the log shows it
#   input_morse            every Morse text sent so far, one a line
#   input_running          whether the program still runs
#   input_about_shown      whether the About window is up
#   input_width            the main window's outer width
# and the shared ok, fail, wait_for and $patience. Widths grow by the help panel's 358 pixels at
# 96 dpi (11790 - 6420 twips).
input_table="$root/scripts/e2e-input.table"

input_trim() { local s="$1"; s="${s#"${s%%[! ]*}"}"; printf '%s' "${s%"${s##*[! ]}"}"; }

# Sets x and y (the caller's) to the control's screen position; fails when its window has gone.
input_point() {
  local p
  p=$(input_at "$1") && [ -n "$p" ] || { fail "no window for $1 (has the program ended?)"; return 1; }
  read -r x y <<<"$p"
}

input_step() {  # input_step "VERB ARGS"
  local verb="${1%% *}" arg="" x y
  [ "$verb" = "$1" ] || arg="${1#* }"
  case "$verb" in
    type) xdotool type --delay 20 -- "$arg"; sleep 0.2 ;;
    key) local k; for k in $arg; do xdotool key --delay 60 "$k"; sleep 0.25; done ;;
    click) input_point "$arg" && xdotool mousemove "$x" "$y" click 1; sleep 0.25 ;;
    dblclick) input_point "$arg" && xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1; sleep 0.3 ;;
    down) input_point "$arg" && { xdotool mousemove "$x" "$y"; sleep 0.15; xdotool mousedown 1; sleep 0.2; } ;;
    move) input_point "$arg" && xdotool mousemove "$x" "$y"; sleep 0.3 ;;
    up) xdotool mouseup 1; sleep 0.25 ;;
    *) fail "unknown step '$1'" ;;
  esac
}

input_count() { input_posted | grep -cxF -- "$1"; }
input_count_is() { [ "$(input_count "$2")" = "$1" ]; }
input_has() { [ "$(input_count "$1")" -ge 1 ]; }
input_part() { input_posted | grep -qF -- "$1"; }
input_has_morse() { input_morse | grep -qxF -- "$1"; }
input_ended() { ! input_running; }
input_help_shown() { [ "$(input_width)" = $((input_w0 + 358 * ${dpi:-96} / 96)) ]; }
input_help_hidden() { [ "$(input_width)" = "$input_w0" ]; }
input_no_about() { ! input_about_shown; }

input_check() {  # input_check "OUTCOME ARGS"
  local verb="${1%% *}" arg="" n
  [ "$verb" = "$1" ] || arg="${1#* }"
  case "$verb" in
    posted)
      if [[ "$arg" =~ ^([0-9]+)\ (.*)$ ]]; then
        n="${BASH_REMATCH[1]}"; arg="${BASH_REMATCH[2]}"
        wait_for $patience input_count_is "$n" "$arg"; sleep 0.5
        input_count_is "$n" "$arg" && ok "posted \"$arg\" $n time(s)" || fail "\"$arg\" posted $(input_count "$arg") times, not $n"
      else
        wait_for $patience input_has "$arg" && ok "posted \"$arg\"" || fail "\"$arg\" not posted: $(input_posted | tr '\n' '|')"
      fi ;;
    none) sleep 1; input_has "$arg" && fail "\"$arg\" was posted" || ok "\"$arg\" not posted" ;;
    part) wait_for $patience input_part "$arg" && ok "a line with \"$arg\" posted" || fail "no line with \"$arg\": $(input_posted | tr '\n' '|')" ;;
    morse) wait_for $patience input_has_morse "$arg" && ok "Morse \"$arg\" sent" || fail "no Morse \"$arg\": $(input_morse | tr '\n' '|')" ;;
    running) sleep 0.5; input_running && ok "still running" || fail "the program ended" ;;
    ended) wait_for 15 input_ended && ok "the program ended" || fail "still running" ;;
    about) wait_for $patience input_about_shown && ok "About window up" || fail "no About window" ;;
    no_about) wait_for $patience input_no_about && ok "About window closed" || fail "About window still up" ;;
    help) wait_for $patience input_help_shown && ok "help shown: width $(input_width)" || fail "width $(input_width), not $input_w0 + the panel" ;;
    no_help) wait_for $patience input_help_hidden && ok "help hidden: width $(input_width)" || fail "width $(input_width), not $input_w0" ;;
    *) fail "unknown outcome '$1'" ;;
  esac
}

# Every row, or those named in $DIZO_INPUT_ROWS (blank-separated), each on a fresh program.
scenario_input() {
  local line name steps outcomes item outer="$scenario"
  while IFS= read -r line; do
    [[ "$line" =~ ^[[:space:]]*(#|$) ]] && continue
    IFS='|' read -r name steps outcomes <<<"$line"
    name=$(input_trim "$name")
    [ -z "${DIZO_INPUT_ROWS:-}" ] || [[ " $DIZO_INPUT_ROWS " == *" $name "* ]] || continue
    scenario="$outer/$name"
    input_start || { scenario="$outer"; continue; }
    input_w0=$(input_width)
    IFS=';' read -ra items <<<"$steps"
    for item in "${items[@]}"; do input_step "$(input_trim "$item")"; done
    IFS=';' read -ra items <<<"$outcomes"
    for item in "${items[@]}"; do input_check "$(input_trim "$item")"; done
    input_stop
  done <"$input_table"
  scenario="$outer"
}
