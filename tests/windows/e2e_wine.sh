#!/usr/bin/env bash
# ristemo.exe under Wine, driven as a user would with xdotool: the worked example, its five
# results read from the window, the export into a new Notepad, Esc then Yes, and the refusal
# under a locale with a decimal point. Run under an X server (CTest starts Xvfb).
# Usage: e2e_wine.sh WINE_RUN PREFIX RISTEMO_EXE WIN_TEXT_EXE EXPECTED_EXPORT
set -uo pipefail
wine_run="$1" prefix="$2" exe="$3" win_text="$4" expected_export="$5"

export WINEPREFIX="$prefix" PATH=/usr/bin:/bin LC_ALL=it_IT.UTF-8
work=$(mktemp -d)
pid=""
# The prefix's server knows the display it started on: a fresh one for this display, and none
# left behind for a display that is about to go.
wineserver -k 2>/dev/null
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

. "$(dirname "$0")/../support/checks.sh"
key() { xdotool key --delay 60 "$@"; sleep 0.15; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.1; }
texts() { "$wine_run" "$prefix" "$win_text" "$@"; }
main_window() { xdotool search --onlyvisible --name '^Ristemo 1\.0' | head -n 1; }
message_box() { xdotool search --onlyvisible --name '^ristemo$' | head -n 1; }
ended() { ! kill -0 "$pid" 2>/dev/null; }
now_ms() { date +%s%3N; }
# Without a window manager Wine activates a window when it is clicked: raised, then a click on an
# empty spot of the input frame.
activate() {
  xdotool windowraise "$1"
  xdotool mousemove --window "$1" 300 150 click 1
  sleep 0.3
}

start() {  # LC_ALL value: starts ristemo.exe, sets pid
  env LC_ALL="$1" "$wine_run" "$prefix" "$exe" &
  pid=$!
}

# The worked example.
start it_IT.UTF-8
if wait_for 30 main_window; then
  activate "$(main_window)"
  type_text 1.2
  key Return
  type_text 80
  key Return
  type_text 1.75
  key Return
  type_text 70
  key Return
  key space
  key F5
  results=$(texts controls "Ristemo 1.0" 500 501 502 503 504)
  expected=$'64,8\n26,1\n70,4 (+13,6%)\n1,96\n65,76'
  if [ "$results" = "$expected" ]; then pass "worked example: five results"; else
    fail "worked example: the results read [$results]"
  fi

  # The frame captions in their colours: INPUT blue, OUTPUT dark red (pixels of that exact colour
  # in the caption's corner of each frame, below the menu bar).
  import -window "$(main_window)" "$work/window.png"
  inked() {  # colour, crop geometry: how many pixels of that colour the area holds
    convert "$work/window.png" -crop "$2" +repage txt:- | grep -ci "$1"
  }
  input_ink=$(inked '#0000C0' 90x24+0+14) output_ink=$(inked '#800000' 90x24+0+158)
  [ "$input_ink" -gt 5 ] && [ "$output_ink" -gt 5 ] && pass "frame captions in blue and dark red" ||
    fail "frame captions: $input_ink blue and $output_ink dark red pixels"

  # F7: the 13 lines reach a new Notepad, and only it.
  tr -d '\r' <"$expected_export" >"$work/expected"
  echo -- >>"$work/expected"
  export_arrived() {
    texts editors Notepad | tr -d '\r' >"$work/export" && cmp -s "$work/export" "$work/expected"
  }
  started=$(now_ms)
  key F7
  if wait_for 20 export_arrived; then
    pass "F7: the report in a new Notepad ($(($(now_ms) - started)) ms from F7 to the text)"
  else
    fail "F7: Notepad holds [$(cat "$work/export")]"
  fi

  # F8 empties the window and returns to the creatinine box, which takes four characters.
  activate "$(main_window)"
  key F8
  emptied=$(texts controls "Ristemo 1.0" 100 101 102 103 500 501 502 503 504 | tr -d '\n')
  [ -z "$emptied" ] && pass "F8 empties the window" || fail "F8 leaves [$emptied]"
  type_text 123456
  creatinine=$(texts controls "Ristemo 1.0" 100)
  [ "$creatinine" = 1234 ] && pass "the creatinine box takes 4 characters" ||
    fail "the creatinine box holds [$creatinine]"

  # Ctrl+V pastes, as on Linux: the input check judges what it brought.
  key F8
  printf '1.5' | xclip -selection clipboard -i
  key ctrl+v
  pasted=$(texts controls "Ristemo 1.0" 100)
  [ "$pasted" = 1.5 ] && pass "Ctrl+V pastes into a box" || fail "Ctrl+V: the box holds [$pasted]"

  # Esc, then Yes (the default button): the program ends.
  key Escape
  if wait_for 10 message_box; then
    question=$(texts children ristemo | grep -x 'uscire?')
    [ -n "$question" ] && pass "Esc asks \"uscire?\"" || fail "Esc: the box does not ask uscire?"
    xdotool windowfocus --sync "$(message_box)"
    key Return
    wait_for 10 ended && pass "Esc then Yes ends the program" || fail "Esc then Yes: still running"
  else
    fail "Esc shows no question"
  fi
else
  fail "the window is not shown"
fi
kill "$pid" 2>/dev/null

# A locale with a decimal point: the refusal, no window, and No ends the program.
start en_US.UTF-8
if wait_for 30 message_box; then
  prompt=$(texts children ristemo)
  if grep -q "^This is the Italian version of Ristemo. The program require ',' as separator" <<<"$prompt" &&
    grep -q '^Press YES for open Regional Settings Dialog Box' <<<"$prompt"; then
    pass "decimal point: the refusal, on two lines"
  else
    fail "decimal point: the box reads [$prompt]"
  fi
  [ -z "$(main_window)" ] && pass "decimal point: no window" || fail "decimal point: the window shows"
  xdotool windowfocus --sync "$(message_box)"
  key n
  wait_for 10 ended && pass "decimal point: No ends the program" || fail "decimal point: still running"
else
  fail "decimal point: no refusal shown"
fi
kill "$pid" 2>/dev/null

echo "e2e_wine: $failures failure(s)"
[ "$failures" -eq 0 ]
