# Keys for the program under test, typed with xdotool at a user's pace: the pauses only pace the
# typing, and every check waits for its own event. Scripts source this file; one whose keys must
# first reach the program's window defines to_program afterwards (it gives that window the
# keyboard, or fails, and then no key is sent).

to_program() { :; }
key() { to_program && xdotool key --delay 60 "$@"; sleep 0.15; }
type_text() { to_program && xdotool type --delay 60 "$1"; sleep 0.1; }

# The worked example from the keyboard: a point for the comma, Enter between boxes, Space on
# "maschio", then F5. The creatinine is entered by the given commands ('type_text 1.2'). An export
# of an earlier run (E2E_EXPORT, where a script records one) goes first, so that it cannot pass
# for this one's.
type_worked_example() {  # creatinine keys
  [ -z "${E2E_EXPORT:-}" ] || rm -f "$E2E_EXPORT"
  eval "$1"
  key Return
  type_text 80
  key Return
  type_text 1.75
  key Return
  type_text 70
  key Return
  key space
  key F5
}
