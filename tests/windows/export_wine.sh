#!/usr/bin/env bash
# The export to Notepad from ristemo.exe under Wine, driven with xdotool: the window closed 0.1 s
# after F7 (Wine's Notepad); then, with a tabbed Notepad that restores documents in its place
# (tabbed_editor.exe copied as notepad.exe beside a copy of ristemo.exe, found first), that the
# report arrives in a document of its own and no document of the user's changes. No file with the
# report is left in the prefix's users' folders. Run under an X server (CTest starts Xvfb).
# Usage: export_wine.sh WINE_RUN PREFIX RISTEMO_EXE WIN_TEXT_EXE TABBED_EDITOR_EXE EXPECTED_EXPORT
set -uo pipefail
wine_run="$1" prefix="$2" exe="$3" win_text="$4" tabbed_editor="$5" expected_export="$6"

. "$(dirname "$0")/wine_lib.sh"
result_shown() { [ "$(texts controls "Ristemo 1.0" 500)" = "64,8" ]; }
# The window is the active one and its creatinine box holds the keyboard.
has_keyboard() { [ "$(texts focus "Ristemo 1.0")" = 100 ]; }

# Starts PROGRAM (ristemo.exe or a copy) and enters the worked example; keys go to its window
# once it holds the keyboard (without a window manager Wine gives it on a click).
start_with_results() {
  "$wine_run" "$prefix" "$1" &
  pid=$!
  wait_for 60 main_window || return 1
  local w
  w=$(main_window)
  xdotool windowraise "$w" mousemove --window "$w" 300 150 click 1
  wait_for 60 has_keyboard || return 1
  local value
  for value in 1.2 80 1.75 70; do
    xdotool type --delay 60 "$value"
    xdotool key Return
  done
  xdotool key --delay 60 space F5
  wait_for 60 result_shown
}

# Ends the program and everything else in the prefix.
reset_wine() {
  kill "$pid" 2>/dev/null
  wineserver -k 2>/dev/null
  wait "$pid" 2>/dev/null
}

# The report's files: none may be left where the user did not ask for them.
report_left() { grep -rlF "Stima clearance creatinina" "$prefix/drive_c/users" 2>/dev/null; }
no_report_left() { [ -z "$(report_left)" ]; }
check_no_report_left() {  # description
  if wait_for 10 no_report_left; then pass "$1: no file with the report left"; else
    fail "$1: the report is left in [$(report_left)]"
  fi
}

# 1. F7, then F12 0.1 s later: the program ends once the report is in the new Notepad.
tr -d '\r' <"$expected_export" >"$work/expected"
echo -- >>"$work/expected"
export_arrived() {
  texts editors Notepad | tr -d '\r' >"$work/export" && cmp -s "$work/export" "$work/expected"
}
if start_with_results "$exe"; then
  xdotool key F7
  sleep 0.1
  xdotool key F12
  check "F7 then F12: the program ends" wait_for 60 ended
  if wait_for 60 export_arrived; then pass "F7 then F12: the report is in the new Notepad"; else
    fail "F7 then F12: Notepad holds [$(cat "$work/export" 2>/dev/null)]"
  fi
  check_no_report_left "F7 then F12"
else
  fail "F7 then F12: the worked example could not be entered"
fi
reset_wine

# 2. The tabbed, session-restoring Notepad.
app="$work/app"
mkdir -p "$app"
cp "$exe" "$app/ristemo.exe"
cp "$tabbed_editor" "$app/notepad.exe"
report=$(tr -d '\r' <"$expected_export")
documents() {  # title: the documents of the stand-in windows so titled
  texts documents "$1"
}
documents_are() {  # title, expected listing
  [ "$(documents "$1")" = "$2" ]
}
check_documents() {  # description, title, expected listing: says what it found on a failure
  if documents_are "$2" "$3"; then pass "$1"; else fail "$1: [$(documents "$2")]"; fi
}
restored=$'== 1\nreferto Rossi'
no_message() { test -z "$(message_box)"; }

# It reopens the user's last, unsaved document in a first tab, and the report in a tab of its own.
export TABBED_EDITOR_OPTIONS='--group ours --control RichEdit20W --restore "referto Rossi"'
if start_with_results "$app/ristemo.exe"; then
  xdotool key F7
  check "restored session: the report in a tab of its own" \
    wait_for 60 documents_are ours "$restored"$'\n== 100\n'"$report"
  check "restored session: no message" no_message
  check_no_report_left "restored session"
else
  fail "restored session: the worked example could not be entered"
fi
reset_wine

# The user's Notepad is open with an unsaved document and a saved one; the launch hands the
# report over to it as a new tab and ends.
printf 'Gentile collega,\r\nle invio il paziente.\r\n' >"$work/lettera.txt"
cp "$work/lettera.txt" "$work/lettera.before"
letter=$'Gentile collega,\nle invio il paziente.'
export TABBED_EDITOR_OPTIONS='--group ours'
env -u TABBED_EDITOR_OPTIONS "$wine_run" "$prefix" "$app/notepad.exe" --group ours --alone \
  --restore "referto Rossi" "Z:${work//\//\\}\\lettera.txt" &
user_windows() { xdotool search --onlyvisible --name '^ours$'; }
if wait_for 60 user_windows && start_with_results "$app/ristemo.exe"; then
  xdotool key F7
  check "user's Notepad: the report in a new tab, the user's documents as they were" \
    wait_for 60 documents_are ours "$restored"$'\n== 100\n'"$letter"$'\n== 101\n'"$report"
  check "user's Notepad: no message" no_message
  check "user's Notepad: the saved document unchanged" cmp -s "$work/lettera.txt" \
    "$work/lettera.before"
  check_no_report_left "user's Notepad"
else
  fail "user's Notepad: not started"
fi
reset_wine

# The user opens a Notepad of their own while the export looks for its window; the export's own
# shows after it. The report goes into the export's window only.
export TABBED_EDITOR_OPTIONS='--group ours --alone --after mine'
if start_with_results "$app/ristemo.exe"; then
  xdotool key F7
  env -u TABBED_EDITOR_OPTIONS "$wine_run" "$prefix" "$app/notepad.exe" --group mine --alone &
  check "user's window meanwhile: the report in the export's own" \
    wait_for 60 documents_are ours "== 100"$'\n'"$report"
  check_documents "user's window meanwhile: the user's is untouched" mine "== 100"
  check "user's window meanwhile: no message" no_message
else
  fail "user's window meanwhile: the worked example could not be entered"
fi
reset_wine

echo "export_wine: $failures failure(s)"
[ "$failures" -eq 0 ]
