#!/usr/bin/env bash
# ristemo.exe under Wine from the keyboard alone: several patients in a row with F8 between them,
# each read back from the window (results, and what a screen reader announces); the start-up
# refusal's exit status.
# Each step waits for the event that proves it (a text in a box, the focus on a control).
# Usage: keyboard_wine.sh WINE_RUN PREFIX RISTEMO_EXE WIN_TEXT_EXE CORE_VECTORS
# Run under an X server (CTest starts Xvfb).
set -uo pipefail
wine_run="$1" prefix="$2" exe="$3" win_text="$4" vectors="$5"

. "$(dirname "$0")/wine_lib.sh"
reads() {  # expected text (lines), control ids: the window's controls hold exactly that
  [ "$(texts controls "Ristemo " "${@:2}")" = "$1" ]
}
focus_on() { [ "$(texts focus "Ristemo ")" = "$1" ]; }
has_keyboard() { [ "$(texts focus "Ristemo ")" -gt 0 ]; }
# Keys go to Ristemo's window only. Without a window manager the X keyboard follows the pointer,
# and Wine makes the window active when it is clicked (an empty spot of the input frame).
to_program() {
  xdotool mousemove --window "$(main_window)" 300 150
  has_keyboard && return 0
  xdotool windowraise "$(main_window)" click 1
  wait_for 60 has_keyboard
}

# Patients of the model's vectors that the window accepts: two men and two women, in a row.
# Columns: creatinine weight height age sex, then the five results.
mapfile -t patients < <(awk -F'\t' 'NR > 1 && $7 == "ok" && length($2) <= 4 && length($3) <= 5 &&
  length($4) <= 4 && length($5) <= 3 && n[$6]++ < 2 {
    row[$6, n[$6]] = $2 "\t" $3 "\t" $4 "\t" $5 "\t" $6 "\t" $16 "\t" $17 "\t" $18 "\t" $19 "\t" $20
  }
  END { print row["M", 1]; print row["F", 1]; print row["M", 2]; print row["F", 2] }' "$vectors")

# One patient: each value, then the key that moves on (Enter or Tab), into the sex group; Space
# picks "maschio", Down "femmina"; F5. Stops at the first step that does not happen.
enter_patient() {  # next-key, fields...
  local next="$1" id
  shift
  local fields=("$@") boxes=(100 101 103 102)
  for i in 0 1 2 3; do
    type_text "${fields[$i]}"
    wait_for 60 reads "${fields[$i]}" "${boxes[$i]}" || { echo "box ${boxes[$i]}: typed"; return 1; }
    key "$next"
    id=$([ "$i" -lt 3 ] && echo "${boxes[$((i + 1))]}" || echo 200)
    wait_for 60 focus_on "$id" || { echo "${next} from ${boxes[$i]}: focus on $(texts focus "Ristemo ")"; return 1; }
  done
  if [ "${fields[4]}" = M ]; then key space; else key Down; fi
  wait_for 60 focus_on 600 || { echo "sex: focus on $(texts focus "Ristemo ")"; return 1; }
  key F5
  local expected
  expected=$(printf '%s\n' "${fields[@]:5}")
  wait_for 60 reads "$expected" 500 501 502 503 504 ||
    { echo "results [$(texts controls "Ristemo " 500 501 502 503 504 | tr '\n' ' ')]"; return 1; }
  # A screen reader hears each result's value, and each box named by its caption.
  [ "$(texts names "Ristemo " 500 501 502 503 504)" = "$expected" ] ||
    { echo "result names [$(texts names "Ristemo " 500 501 502 503 504 | tr '\n' ' ')]"; return 1; }
  [ "$(texts names "Ristemo " 100 101 103 102)" = $'creatinina\npeso (kg)\naltezza (m)\netà (anni)' ] ||
    { echo "box names [$(texts names "Ristemo " 100 101 103 102 | tr '\n' ' ')]"; return 1; }
}

start it_IT.UTF-8
if wait_for 60 main_window; then
  n=0
  for patient in "${patients[@]}"; do
    IFS=$'\t' read -r -a fields <<<"$patient"
    next=$([ $((n % 2)) -eq 0 ] && echo Return || echo Tab)
    what="patient $((n + 1)) (${fields[4]}, ${next}) after F8"
    [ "$n" -eq 0 ] && what="patient 1 (${fields[4]}, ${next})"
    if out=$(enter_patient "$next" "${fields[@]}"); then pass "$what: results and their names"; else
      fail "$what: $out"
    fi
    key F8
    wait_for 60 reads "" 100 101 102 103 500 501 502 503 504 &&
      wait_for 60 focus_on 100 || fail "F8 after patient $((n + 1)): the window is not emptied"
    n=$((n + 1))
  done
  [ "$n" -ge 3 ] || fail "only $n patients in the vectors"
  key F12
  wait_for 60 ended || fail "F12: still running"
else
  fail "the window is not shown"
fi
kill "$pid" 2>/dev/null

# The refusal ends with a failure status, as on Linux.
start en_US.UTF-8
if wait_for 60 message_box; then
  xdotool windowfocus --sync "$(message_box)" key n
  wait_for 60 ended
  wait "$pid"
  status=$?
  [ "$status" -eq 1 ] && pass "refusal: exit status 1" || fail "refusal: exit status $status"
else
  fail "refusal: no message shown"
fi
kill "$pid" 2>/dev/null

echo "keyboard_wine: $failures failure(s)"
[ "$failures" -eq 0 ]
