# Helpers shared by the end-to-end scripts, which source this file after setting bin (the ristemo
# binary) and here (their own folder). They drive the real binary with xdotool under an X server.

work=$(mktemp -d)
pids=()
pid="" wid=""
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../support/keys.sh"
# The text export of the worked example, the one every test expects (tests/data/README.md), as the
# build made it.
expected_export="${RISTEMO_TEST_DATA:?set by the test command}/worked_example.txt"

# A clean desktop: a home of our own, no default applications registered anywhere (the system's
# folders out of sight too), and a folder of fakes first on PATH, then the machine's programs
# less the editors the program knows, so that it starts only the editors a test gives it.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_DATA_DIRS="$work/share" XDG_CONFIG_DIRS="$work/etc-xdg" TMPDIR="$work/tmp"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_DATA_DIRS" "$XDG_CONFIG_DIRS" "$TMPDIR" \
  "$work/bin" "$work/sys"
known_editors=(gnome-text-editor gedit kwrite kate mousepad featherpad pluma)
IFS=: read -ra system_path <<<"$PATH"
for dir in "${system_path[@]}"; do
  [ -d "$dir" ] && ln -s "$dir"/* "$work/sys/" 2>/dev/null
done
for e in "${known_editors[@]}"; do rm -f "$work/sys/$e"; done
export PATH="$work/bin:$work/sys" E2E_EXPORT="$work/export.txt"
export QT_QPA_PLATFORM=xcb LC_ALL= LANG=C.UTF-8 LC_NUMERIC=it_IT.UTF-8

# Installs, as the program called NAME in folder DIR, an editor that records what it is given on
# standard input into $E2E_EXPORT. Absolute paths: it may inherit a PATH of fakes only.
install_recording_editor() {  # dir name
  cat >"$1/$2.new" <<'SH'
#!/bin/sh
/bin/cat >"$E2E_EXPORT.part" && /bin/mv "$E2E_EXPORT.part" "$E2E_EXPORT"
SH
  chmod +x "$1/$2.new"
  mv -f "$1/$2.new" "$1/$2"
}
install_recording_editor "$work/bin" gedit


# Caps of the waits: they only stop a hung run, so they are generous for a loaded machine.
cap=${E2E_CAP:-60}

start() {  # starts ristemo with the given environment additions; sets pid and wid
  env "$@" "$bin" &
  pid=$!
  pids+=("$pid")
  wid=""
  wait_for $cap xdotool search --onlyvisible --pid "$pid" --name "^Ristemo " || return 1
  wid=$(xdotool search --onlyvisible --pid "$pid" --name "^Ristemo " | head -n 1)
  focus_ours
}

stop() {  # ends the running ristemo, whatever it is showing
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# True when the window with the keyboard focus is one of the running ristemo's (its main window
# or one of its message boxes).
has_focus_ours() {
  local focused
  focused=$(xdotool getwindowfocus 2>/dev/null) || return 1
  [ "$focused" = "$wid" ] || [ "$(xdotool getwindowpid "$focused" 2>/dev/null)" = "$pid" ]
}
# Gives the focus back to ristemo's main window unless one of its windows has it, and waits
# until it is there: keys meant for the program never go to whatever else took the focus.
focus_ours() {
  [ -n "${wid:-}" ] || return 0
  has_focus_ours && return 0
  xdotool windowactivate "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null
  wait_for $cap has_focus_ours
}

window_of_ours() { xdotool search --all --onlyvisible --pid "$pid" --name "$1"; }
message_box_shown() { window_of_ours "^ristemo$"; }
message_box_gone() { ! message_box_shown; }
window_gone() { ! xdotool search --all --onlyvisible --pid "$pid" --name "$2" | grep -qx "$1"; }

# The texts of the message box on show, one a line, read from the accessibility tree: needs a
# session bus, and the program started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Retried for a
# while: the program registers with the accessibility bus some time after it starts.
message_text() {
  local until=$((SECONDS + cap)) text
  while [ "$SECONDS" -lt "$until" ]; do
    text=$("$here/window_text.py" "$pid" ristemo 2>/dev/null) && [ -n "$text" ] && break
    sleep 0.2
  done
  printf '%s\n' "$text"
}

# Waits for the message box, checks that one of its lines is the expected text, then presses
# Return on it and waits for it to go.
expect_message() {  # description, expected text
  if ! wait_for $cap message_box_shown; then
    fail "$1: no message shown"
    return 1
  fi
  local text box
  box=$(message_box_shown | head -n 1)
  text=$(message_text)
  if ! grep -qxF -- "$2" <<<"$text"; then
    fail "$1: the message reads [$text]"
    return 1
  fi
  pass "$1: \"$2\""
  # Without a window manager a box shown as another closes may not get the keyboard by itself.
  xdotool windowfocus --sync "$box" 2>/dev/null
  key Return
  # Another message may follow at once: this one must go.
  wait_for $cap window_gone "$box" "^ristemo$" || { fail "$1: the message stays"; return 1; }
  xdotool windowfocus "$wid" 2>/dev/null
  focus_ours
}

ended_with() {  # status: the program ends with that exit status
  wait_for $cap bash -c "! kill -0 $pid" || return 1
  wait "$pid"
  [ "$?" -eq "$1" ]
}

# Keys go to the running ristemo only, once it has the focus.
to_program() { focus_ours; }

export_arrived() {  # the editor received the expected thirteen lines
  if wait_for $cap test -f "$E2E_EXPORT" && cmp -s "$E2E_EXPORT" "$expected_export"; then
    return 0
  fi
  diff <(cat -A "$expected_export") <(cat -A "$E2E_EXPORT" 2>/dev/null) | head -20
  return 1
}

run_worked_example() {  # creatinine keys: types the example, F5, F7, checks the export
  type_worked_example "$1"
  key F7
  export_arrived
}

finish() {  # script name: the summary and the exit status
  echo "$1: $failures failed"
  [ "$failures" -eq 0 ]
}
