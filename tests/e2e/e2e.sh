#!/usr/bin/env bash
# The real binary under an X server, driven as a user would with xdotool.
# Usage: e2e.sh PATH_TO_RISTEMO   (run under an X server; CTest does)
set -uo pipefail
bin="$1"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

if start; then
  check "typed example exported" run_worked_example 'type_text 1.2'
  key F8
  # The creatinine pasted through the clipboard, with a point the filter never saw.
  printf '1.2' | xclip -selection clipboard
  clipboard_holds() { [ "$(xclip -o -selection clipboard)" = 1.2 ]; }
  wait_for $cap clipboard_holds || fail "the clipboard holds the value"
  check "pasted value exported" run_worked_example 'key ctrl+v'
  # Esc, then Yes (the default button): the program ends normally.
  key Escape
  if wait_for $cap message_box_shown; then
    key Return
    check "Esc then Yes ends the program" ended_with 0
  else
    fail "Esc shows the question"
  fi
else
  fail "window shown"
fi

# A locale without the decimal comma: the refusal, then the end without a window.
env LC_NUMERIC=C "$bin" &
pid=$!
pids+=("$pid")
if wait_for $cap message_box_shown; then
  # --all: by default xdotool matches either condition, and the refusal box has our pid.
  if window_of_ours "^Ristemo " >/dev/null 2>&1; then
    fail "the window stays hidden on refusal"
  fi
  key Escape
  check "refusal ends with status 1" ended_with 1
else
  fail "refusal message shown"
fi

finish e2e
