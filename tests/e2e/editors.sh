#!/usr/bin/env bash
# The export into the real editors that do not read standard input (mousepad, featherpad, pluma)
# while the user goes on working: a focus thief, Caps Lock with an Italian layout, two exports in
# a row, the editor already running with the user's own file, the window closed right after the
# export, and the user clicking back on the calculator.
# Usage: editors.sh PATH_TO_RISTEMO PATH_TO_STAND_IN_EDITOR [TRIALS [EDITOR...]]
#   (run under an X server; CTest does). TRIALS: exports against the focus thief per editor.
set -uo pipefail
# A session bus of our own, with the accessibility bus behind it.
if [ -z "${E2E_PRIVATE_BUS:-}" ]; then
  E2E_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
bin="$1"
stand_in="$2"
trials="${3:-2}"
shift 3 2>/dev/null || shift $#
editors=("$@")
[ "${#editors[@]}" -gt 0 ] || editors=(mousepad featherpad pluma)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$here/window_text.py" 0 none >/dev/null 2>&1

# A window manager, with the system's folders for its settings and themes.
XDG_CONFIG_DIRS=/etc/xdg XDG_DATA_DIRS=/usr/share openbox >/dev/null 2>&1 &
pids+=("$!")
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }
wait_for $cap wm_running || fail "the window manager runs"

# The user's notes: a window of another program holding the user's text.
STAND_IN_EDITOR_OUTPUT="$work/notes.txt" "$stand_in" &
pids+=("$!")
notes_pid=$!
wait_for $cap xdotool search --onlyvisible --pid "$notes_pid" --name "stand-in editor"
notes_wid=$(xdotool search --onlyvisible --pid "$notes_pid" --name "stand-in editor" | head -n 1)
# The user types into the notes: the notes' window must have the focus first.
notes_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$notes_wid" ]; }
type_notes() {
  xdotool windowactivate "$notes_wid" 2>/dev/null
  wait_for $cap notes_focused && xdotool "$@"
}
type_notes type --delay 60 appunti
wait_for $cap grep -qx appunti "$work/notes.txt" || fail "the user's notes hold their text"
notes_intact() { [ "$(cat "$work/notes.txt")" = appunti ]; }

# Activates the given window every 50 ms until stopped, as a user switching windows might.
thief=""
thief_start() {
  (while :; do xdotool windowactivate "$1" 2>/dev/null; sleep 0.05; done) &
  thief=$!
}
thief_stop() {
  [ -n "$thief" ] && kill "$thief" 2>/dev/null && wait "$thief" 2>/dev/null
  thief=""
}

class_of() {
  case "$1" in mousepad) echo Mousepad ;; featherpad) echo FeatherPad ;; pluma) echo Pluma ;; esac
}
editor_windows() { xdotool search --onlyvisible --classname "^$1\$" 2>/dev/null | sort; }
new_windows() {  # editor, windows before: the windows shown since
  comm -13 <(printf '%s\n' $2 | sort) <(editor_windows "$1")
}
count_new() { [ "$(new_windows "$1" "$2" | grep -c .)" -ge "$3" ]; }

# The text of an editor's window, read from the accessibility tree: no key reaches the editor,
# so the reading cannot disturb an export still going on, nor depend on the focus.
editor_text() {  # window
  local editor_pid
  editor_pid=$(xdotool getwindowpid "$1" 2>/dev/null) || return 1
  "$here/window_text.py" "$editor_pid" "*" --document 2>/dev/null
}
holds_report() {  # window: its text is the thirteen lines, exactly
  editor_text "$1" >"$work/read.txt"
  cmp -s "$work/read.txt" "$expected_export"
}
report_arrived() {  # window
  wait_for $cap holds_report "$1" && return 0
  diff <(cat -A "$expected_export") <(cat -A "$work/read.txt") | head -10
  return 1
}
editor_window_gone() { ! xdotool search --onlyvisible --classname "^$1\$" 2>/dev/null | grep -qx "$2"; }
close_windows() {  # the editors behind these windows, until their windows are gone
  local w
  for w in "$@"; do kill -9 "$(xdotool getwindowpid "$w" 2>/dev/null)" 2>/dev/null; done
  for w in "$@"; do wait_for $cap editor_window_gone "$e" "$w"; done
}
# Every editor of the kind still shown, and the ristemo of the case: nothing is left running.
end_case() {  # editor
  close_windows $(editor_windows "$1")
  stop
}

start_with() {  # editor: ristemo with only that editor installed, and a calculation made
  mkdir -p "$work/ed-$1"
  ln -sf "/usr/bin/$1" "$work/ed-$1/$1"
  # The real editors need the system's data (settings schemas, file types, icons); the PATH alone
  # decides which editor the program finds.
  start PATH="$work/ed-$1:$work/sys" XDG_DATA_DIRS="$work/share:/usr/share" || return 1
  type_worked_example 'type_text 1.2'
}
# Each case begins with no editor shown and the calculator waiting with its calculation: a
# calculator that ended or shows a message is started afresh, so one failure causes no other.
restart_with() {  # editor
  close_windows $(editor_windows "$1")
  if kill -0 "$pid" 2>/dev/null && message_box_gone; then return 0; fi
  stop
  start_with "$1" || fail "$1: window shown again"
}

for e in "${editors[@]}"; do
  echo "-- $e"
  if [ ! -x "/usr/bin/$e" ]; then
    fail "$e: not installed"
    continue
  fi
  start_with "$e" || { fail "$e: window shown"; continue; }

  leaks=0
  for i in $(seq "$trials"); do
    before=$(editor_windows "$e")
    started=$(date +%s%N)
    key F7
    thief_start "$notes_wid"
    if wait_for $cap count_new "$e" "$before" 1; then
      shown=$((($(date +%s%N) - started) / 1000000))
      w=$(new_windows "$e" "$before" | head -n 1)
      # The thief goes on until the report is in.
      check "$e, thief $i: the report arrived whole (window after $shown ms)" report_arrived "$w"
      thief_stop
      close_windows "$w"
    else
      thief_stop
      fail "$e, thief $i: no editor window"
    fi
    if ! notes_intact; then
      leaks=$((leaks + 1))
      fail "$e, thief $i: the user's notes now read [$(cat "$work/notes.txt")]"
      # Back to the user's text for the next trial.
      type_notes key ctrl+a BackSpace
      type_notes type --delay 60 appunti
      wait_for $cap notes_intact
    fi
  done
  echo "$e: $leaks leaks in $trials trials"
  check "$e: the thief took nothing" test "$leaks" -eq 0
  check "$e: no message" message_box_gone

  # Caps Lock on and an Italian layout while the report goes out.
  restart_with "$e"
  before=$(editor_windows "$e")
  setxkbmap it
  xdotool key Caps_Lock
  key F7
  wait_for $cap count_new "$e" "$before" 1
  w=$(new_windows "$e" "$before")
  check "$e: Caps Lock and an Italian layout change nothing" report_arrived "$w"
  xdotool key Caps_Lock
  setxkbmap us

  # Two exports in a row: two editors, each with the whole report.
  # Both keys in one go, while ristemo has the focus: the first editor takes the focus when it
  # shows, a quarter second later at the earliest.
  restart_with "$e"
  before=$(editor_windows "$e")
  focus_ours && xdotool key --delay 60 F7 F7
  if wait_for $cap count_new "$e" "$before" 2; then
    for w in $(new_windows "$e" "$before"); do
      check "$e: F7 twice, window $w holds the report" report_arrived "$w"
    done
  else
    fail "$e: F7 twice gives two editors"
  fi

  # The user's own file open in the editor: the export gets a new editor of its own.
  restart_with "$e"
  printf 'Caro collega,\n' >"$work/letter.txt"
  before=$(editor_windows "$e")
  XDG_DATA_DIRS=/usr/share "/usr/bin/$e" "$work/letter.txt" >/dev/null 2>&1 &
  pids+=("$!")
  wait_for $cap count_new "$e" "$before" 1
  letter_wid=$(new_windows "$e" "$before")
  letter_pid=$(xdotool getwindowpid "$letter_wid" 2>/dev/null)
  # The editor has loaded the user's file: it is up and running.
  letter_loaded() { [ "$(editor_text "$letter_wid")" = "Caro collega," ] ||
    [ "$(editor_text "$letter_wid")" = $'Caro collega,\n' ]; }
  wait_for $cap letter_loaded || fail "$e already running: the letter is shown"
  before=$(editor_windows "$e")
  key F7
  if wait_for $cap count_new "$e" "$before" 1; then
    w=$(new_windows "$e" "$before")
    check "$e already running: the new window is another process" \
      test "$(xdotool getwindowpid "$w")" != "$letter_pid"
    check "$e already running: the new window holds the report" report_arrived "$w"
    close_windows "$w"
  else
    fail "$e already running: a new editor window"
  fi
  check "$e already running: no message" message_box_gone
  check "$e already running: the user's file is untouched" \
    test "$(cat "$work/letter.txt")" = "Caro collega,"
  check "$e already running: the user's editor still runs" kill -0 "$letter_pid"

  # The export started with the mouse, and the user clicking back on the calculator meanwhile.
  restart_with "$e"
  title=$(xdotool getwindowname "$wid")
  texts_before=$("$here/window_text.py" "$pid" "$title")
  read -r x y < <("$here/window_text.py" "$pid" "$title" "notepad (F7)")
  before=$(editor_windows "$e")
  xdotool mousemove -- "$x" "$y" click 1
  thief_start "$wid"
  wait_for $cap count_new "$e" "$before" 1
  w=$(new_windows "$e" "$before" | head -n 1)
  # Once the report is in, the export is over: whatever it did elsewhere has happened.
  check "$e, clicked: the editor holds the report" report_arrived "$w"
  thief_stop
  check "$e, clicked: one editor" test "$(new_windows "$e" "$before" | grep -c .)" -eq 1
  check "$e, clicked: no message" message_box_gone
  check "$e, clicked: nothing typed into the calculator" \
    test "$("$here/window_text.py" "$pid" "$title")" = "$texts_before"

  # The window closed 0.1 s after F7, both keys in one go while ristemo has the focus: the
  # export still completes.
  restart_with "$e"
  before=$(editor_windows "$e")
  focus_ours && xdotool key --delay 100 F7 F12
  check "$e, closed at once: the program ends" ended_with 0
  if wait_for $cap count_new "$e" "$before" 1; then
    w=$(new_windows "$e" "$before")
    check "$e, closed at once: the editor holds the report" report_arrived "$w"
  else
    fail "$e, closed at once: an editor window"
  fi
  end_case "$e"
done

finish editors
