#!/usr/bin/env bash
# The real binary under an X server, driven as a user would with xdotool.
# Usage: e2e.sh PATH_TO_RISTEMO   (run under xvfb-run; CTest does)
set -uo pipefail
bin="$1"
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# A clean desktop: no default editor registered, a fake standard-input editor first on PATH.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$work/bin"
cat >"$work/bin/gedit" <<'SH'
#!/bin/sh
# Records what it is given on standard input, then stays open a moment like an editor.
cat >"$E2E_EXPORT.part" && mv "$E2E_EXPORT.part" "$E2E_EXPORT"
SH
chmod +x "$work/bin/gedit"
export PATH="$work/bin:$PATH" E2E_EXPORT="$work/export.txt"
export QT_QPA_PLATFORM=xcb LC_ALL= LANG=C.UTF-8 LC_NUMERIC=it_IT.UTF-8

wait_for() {  # seconds, command...: true once the command succeeds
  local until=$((SECONDS + $1))
  shift
  while [ "$SECONDS" -lt "$until" ]; do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

start() {  # starts ristemo with the given environment additions; sets pid and wid
  env "$@" "$bin" &
  pid=$!
  pids+=("$pid")
  wid=""
  wait_for 15 xdotool search --onlyvisible --pid "$pid" --name "^Ristemo 1.0" || return 1
  wid=$(xdotool search --onlyvisible --pid "$pid" --name "^Ristemo 1.0" | head -n 1)
  xdotool windowfocus --sync "$wid"
  sleep 0.3
}

message_box_shown() { xdotool search --onlyvisible --pid "$pid" --name "^ristemo$"; }

ended_with() {  # status: the program ends within 5 s with that exit status
  wait_for 5 bash -c "! kill -0 $pid" || return 1
  wait "$pid"
  [ "$?" -eq "$1" ]
}

key() { xdotool key --delay 60 "$@"; sleep 0.15; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.1; }

# Worked example from the keyboard: a point for the comma, Enter between boxes, Space on "maschio".
run_worked_example() {
  local creatinine_keys="$1"
  rm -f "$E2E_EXPORT"
  eval "$creatinine_keys"
  key Return
  type_text 80
  key Return
  type_text 1.75
  key Return
  type_text 70
  key Return
  key space
  key F5
  key F7
  if wait_for 10 test -f "$E2E_EXPORT" && cmp -s "$E2E_EXPORT" "$here/expected_export.txt"; then
    return 0
  fi
  diff <(cat -A "$here/expected_export.txt") <(cat -A "$E2E_EXPORT" 2>/dev/null) | head -20
  return 1
}

if start; then
  run_worked_example 'type_text 1.2' && pass "typed example exported" || fail "typed example exported"
  key F8
  # The creatinine pasted through the clipboard, with a point the filter never saw.
  printf '1.2' | xclip -selection clipboard
  sleep 0.2
  run_worked_example 'key ctrl+v' && pass "pasted value exported" || fail "pasted value exported"
  # Esc, then Yes (the default button): the program ends normally.
  key Escape
  if wait_for 5 message_box_shown; then
    key Return
    ended_with 0 && pass "Esc then Yes ends the program" || fail "Esc then Yes ends the program"
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
if wait_for 15 message_box_shown; then
  # --all: by default xdotool matches either condition, and the refusal box has our pid.
  if xdotool search --all --onlyvisible --pid "$pid" --name "^Ristemo 1.0" >/dev/null 2>&1; then
    fail "the window stays hidden on refusal"
  fi
  key Escape
  ended_with 1 && pass "refusal ends with status 1" || fail "refusal ends with status 1"
else
  fail "refusal message shown"
fi

echo "e2e: $failures failed"
[ "$failures" -eq 0 ]
