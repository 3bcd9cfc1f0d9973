#!/usr/bin/env bash
# What reaches a screen reader from ristemo.exe under Wine, used from the keyboard alone: the
# accessibility events of the window (MSAA focus and alert events, with the accessible name and
# role of their object) as a reader receives them, watched from another process.
# Wine has no UI Automation notifications (UiaRaiseNotificationEvent), so the program takes its
# way for such systems: an MSAA alert. Wine gives buttons, static texts and group boxes the role
# "client" and ignores the alert role the program gives its alert; the names are Windows'.
# Usage: speech_wine.sh WINE_RUN PREFIX RISTEMO_EXE WIN_TEXT_EXE EXPECTED_EXPORT
# Run under an X server (CTest starts Xvfb).
set -uo pipefail
wine_run="$1" prefix="$2" exe="$3" win_text="$4" expected_export="$5"

. "$(dirname "$0")/wine_lib.sh"
cap=${E2E_CAP:-60}
to_ristemo() {
  xdotool windowraise "$(main_window)"
  xdotool mousemove --window "$(main_window)" 300 150
  wait_for $cap texts foreground "Ristemo " && return 0
  xdotool click 1
  wait_for $cap texts foreground "Ristemo "
}

events="$work/events"
mark=0
# True once these events have come since the mark, in this order (others between them). Each
# is "focus NAME" or "alert NAME"; the role, which Wine mostly does not know, is left out.
came_in_order() {
  local i=0 line expected=("$@")
  while IFS= read -r line; do
    [ "$line" = "${expected[$i]}" ] && i=$((i + 1))
    [ "$i" -lt "${#expected[@]}" ] || return 0
  done < <(tail -n +$((mark + 1)) "$events" | sed 's/^\([a-z]*\) [^:]*: /\1 /')
  return 1
}
# Sends the keys, then waits for the expected events.
gives() {  # description, keys, expected events...
  local what="$1" keys="$2"
  shift 2
  mark=$(wc -l <"$events")
  # shellcheck disable=SC2086
  xdotool key --delay 60 $keys
  if wait_for $cap came_in_order "$@"; then
    pass "$what: $(printf '[%s] ' "$@")"
  else
    fail "$what: expected $(printf '[%s] ' "$@")in this order; came:"
    tail -n +$((mark + 1)) "$events" | sed 's/^/    /'
  fi
}

results() { printf 'alert clearance  creatinina stimata %s. body mass index %s. peso ideale e scostamento %s. superficie corporea %s. stima massa magra %s' "$@"; }

start it_IT.UTF-8
if wait_for $cap main_window; then
  texts events "Ristemo " >"$events" &
  watcher=$!
  wait_for $cap grep -q watching "$events" || fail "the events are watched"
  to_ristemo
  # The boxes' role is one Wine knows.
  roles=$(texts roles "Ristemo " 100 101 | tr '\n' ' ')
  [ "$roles" = "testo testo " ] && pass "input boxes: role text" || fail "input boxes: roles [$roles]"
  group=$(texts names "Ristemo " 210)
  [ "$group" = sesso ] && pass "the sex options' group box: \"sesso\"" ||
    fail "the sex options' group box is named [$group]"

  type_text 1.2
  gives "Tab" Tab "focus peso (kg)"
  type_text 80
  gives "Enter" Return "focus altezza (m)"
  type_text 1.75
  gives "Tab" Tab "focus età (anni)"
  type_text 70
  gives "Tab into the sex options" Tab "focus maschio"
  gives "Space picks maschio, then the button" space "alert maschio, selezionato" \
    "focus calcola (F5)"
  mapfile -t worked_example <"$(dirname "$expected_export")/worked_example_results.txt"
  man=$(results "${worked_example[@]}")
  gives "F5" F5 "$man"
  gives "F5 again, the same numbers" F5 "$man"
  gives "back to the sex options" shift+Tab "focus maschio"
  gives "an arrow picks femmina, then the button" Right "focus femmina" \
    "alert femmina, selezionato" "focus calcola (F5)"
  gives "F5 for the woman" F5 "$(results 55,1 26,1 "65,8 (+21,5%)" 1,96 60,28)"
  gives "F8, the focus in the first box" F8 "focus creatinina"
  gives "F5 refused" F5 "focus Ok"
  refusal() { texts children ristemo | grep -qxF 'valore creatinina 0 mg/dl non accettabile...'; }
  check "the refusal's message" wait_for $cap refusal
  if grep -q '^alert' < <(tail -n +$((mark + 1)) "$events"); then
    fail "a refusal gives no alert: $(tail -n +$((mark + 1)) "$events" | grep '^alert')"
  fi
  xdotool windowfocus --sync "$(message_box)"
  wait_for $cap texts foreground ristemo
  gives "the message closed, back in the first box" Return "focus creatinina"
  kill "$watcher" 2>/dev/null
else
  fail "the window is not shown"
fi
kill "$pid" 2>/dev/null

echo "speech_wine: $failures failure(s)"
[ "$failures" -eq 0 ]
