#!/usr/bin/env bash
# ristemo.exe under Wine, driven as a user would with xdotool: the worked example, its five
# results read from the window, the export into a new Notepad, Esc then Yes, and the refusal
# under a locale with a decimal point; then under a window manager (openbox), the keyboard in the
# new window and its absence from the taskbar. Run under an X server (CTest starts Xvfb).
# Usage: e2e_wine.sh WINE_RUN PREFIX RISTEMO_EXE WIN_TEXT_EXE EXPECTED_EXPORT
set -uo pipefail
wine_run="$1" prefix="$2" exe="$3" win_text="$4" expected_export="$5"

. "$(dirname "$0")/wine_lib.sh"
# Caps of the waits: they only stop a hung run, so they are generous for a loaded machine.
cap=${E2E_CAP:-60}
now_ms() { date +%s%3N; }
# Without a window manager Wine activates a window when it is clicked: raised, then a click on an
# empty spot of the input frame; then waits until it is Wine's foreground window, which takes the
# keys. Done again whenever another window (Notepad) may have taken them.
activate() {
  xdotool windowraise "$1"
  xdotool mousemove --window "$1" 300 150 click 1
  wait_for $cap texts foreground "Ristemo " || fail "the window takes the keys"
}
# True when the controls (ids after the window title) hold the given text, one control a line.
controls_hold() {  # expected, title, ids...
  local expected="$1"
  shift
  got=$(texts controls "$@")
  [ "$got" = "$expected" ]
}

# The worked example. The new window has the keyboard, in the creatinine box: without a window
# manager the keys reach the window under the pointer, so the pointer goes there, with no click.
start it_IT.UTF-8
if wait_for $cap main_window; then
  in_first_box() { [ "$(texts focus "Ristemo ")" = 100 ]; }
  check "the new window has the keyboard in the creatinine box" wait_for $cap in_first_box
  xdotool mousemove --window "$(main_window)" 300 150
  type_worked_example 'type_text 1.2'
  expected=$(cat "$(dirname "$expected_export")/worked_example_results.txt")
  if wait_for $cap controls_hold "$expected" "Ristemo " 500 501 502 503 504; then
    pass "worked example: five results"
  else
    fail "worked example: the results read [$got]"
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
  if wait_for $cap export_arrived; then
    pass "F7: the report in a new Notepad ($(($(now_ms) - started)) ms from F7 to the text)"
  else
    fail "F7: Notepad holds [$(cat "$work/export")]"
  fi

  # F8 empties the window and returns to the creatinine box, which takes four characters.
  activate "$(main_window)"
  key F8
  emptied() { [ -z "$(texts controls "Ristemo " 100 101 102 103 500 501 502 503 504 | tr -d '\n')" ]; }
  check "F8 empties the window" wait_for $cap emptied
  # Return, then a digit into the next box: once it shows there, every key before it was handled.
  type_text 123456
  key Return
  type_text 7
  if wait_for $cap controls_hold 7 "Ristemo " 101; then
    creatinine=$(texts controls "Ristemo " 100)
    [ "$creatinine" = 1234 ] && pass "the creatinine box takes 4 characters" ||
      fail "the creatinine box holds [$creatinine]"
  else
    fail "the keys after the creatinine reach the next box"
  fi

  # Ctrl+V pastes, as on Linux: the input check judges what it brought.
  key F8
  wait_for $cap emptied
  printf '1.5' | xclip -selection clipboard -i
  clipboard_holds() { [ "$(xclip -o -selection clipboard)" = 1.5 ]; }
  wait_for $cap clipboard_holds
  key ctrl+v
  if wait_for $cap controls_hold 1.5 "Ristemo " 100; then pass "Ctrl+V pastes into a box"; else
    fail "Ctrl+V: the box holds [$got]"
  fi

  # Esc, then Yes (the default button): the program ends.
  key Escape
  if wait_for $cap message_box; then
    asks_uscire() { texts children ristemo | grep -qx 'uscire?'; }
    check "Esc asks \"uscire?\"" wait_for $cap asks_uscire
    xdotool windowfocus --sync "$(message_box)"
    wait_for $cap texts foreground ristemo
    key Return
    wait_for $cap ended && pass "Esc then Yes ends the program" || fail "Esc then Yes: still running"
  else
    fail "Esc shows no question"
  fi
else
  fail "the window is not shown"
fi
kill "$pid" 2>/dev/null

# A locale with a decimal point: the refusal, no window, and No ends the program.
start en_US.UTF-8
if wait_for $cap message_box; then
  refusal_shown() { prompt=$(texts children ristemo) && grep -q '^Press YES' <<<"$prompt"; }
  wait_for $cap refusal_shown
  if grep -q "^This is the Italian version of Ristemo. The program require ',' as separator" <<<"$prompt" &&
    grep -q '^Press YES for open Regional Settings Dialog Box' <<<"$prompt"; then
    pass "decimal point: the refusal, on two lines"
  else
    fail "decimal point: the box reads [$prompt]"
  fi
  [ -z "$(main_window)" ] && pass "decimal point: no window" || fail "decimal point: the window shows"
  xdotool windowfocus --sync "$(message_box)"
  wait_for $cap texts foreground ristemo
  key n
  wait_for $cap ended && pass "decimal point: No ends the program" || fail "decimal point: still running"
else
  fail "decimal point: no refusal shown"
fi
kill "$pid" 2>/dev/null

# Started with a place asked for (STARTUPINFO, as a launcher may ask): the window opens there, as
# a window placed by the system does; then F12 closes it.
env LC_ALL=it_IT.UTF-8 "$wine_run" "$prefix" "$win_text" start-at 200 150 "Z:${exe//\//\\}" &
pid=$!
placed() { [ "$(texts place "Ristemo ")" = "200 150" ]; }
if wait_for $cap placed; then pass "the window opens where the system places it"; else
  fail "the window opens at [$(texts place "Ristemo ")], not at 200 150"
fi
activate "$(main_window)"
key F12
wait_for $cap ended || fail "placed window: F12 leaves the program running"
kill "$pid" 2>/dev/null

# Under openbox: the window manager gives the new window the keyboard, typed into at once with
# no click, and keeps it off its taskbar; on Windows it has no taskbar button and a plain caption.
XDG_CONFIG_DIRS=/etc/xdg XDG_DATA_DIRS=/usr/share openbox >/dev/null 2>&1 &
wm=$!
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }
check "openbox runs" wait_for $cap wm_ready
start it_IT.UTF-8
if wait_for $cap main_window; then
  wid=$(main_window)
  active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$wid" ]; }
  if wait_for $cap active; then
    type_text 75
    check "openbox: typed into the new window at once" wait_for $cap controls_hold 75 "Ristemo " 100
  else
    fail "openbox: the new window has the keyboard"
  fi
  xprop -id "$wid" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR &&
    pass "openbox: off the taskbar" || fail "openbox: state [$(xprop -id "$wid" _NET_WM_STATE)]"
  check "off the taskbar on Windows, with a plain caption" texts off-taskbar "Ristemo "
  key F12
  wait_for $cap ended || fail "openbox: F12 leaves the program running"
else
  fail "openbox: the window is not shown"
fi
kill "$pid" "$wm" 2>/dev/null

echo "e2e_wine: $failures failure(s)"
[ "$failures" -eq 0 ]
