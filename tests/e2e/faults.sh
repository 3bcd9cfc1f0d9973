#!/usr/bin/env bash
# The real binary facing a desktop that lets it down: no print service, no editor, an editor that
# quits at once, no browser, a browser that fails. Each fault is set up through the environment only;
# each must end in its message (or the "Apri con" dialog), and the window must go on working.
# Usage: faults.sh PATH_TO_RISTEMO   (run under an X server; CTest does)
set -uo pipefail
# A session bus of our own, for the accessibility tree through which the messages are read.
if [ -z "${E2E_PRIVATE_BUS:-}" ]; then
  E2E_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
bin="$1"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Starts the accessibility bus now, so that each program finds it from the start.
"$here/window_text.py" 0 none >/dev/null 2>&1

# Afterwards the window still calculates and exports: a new calculation, F7, and the text reaches
# a working editor.
window_still_works() {  # case name
  key F8
  check "$1: the window works afterwards" run_worked_example 'type_text 1.2'
}

export_again() {  # F7 on the calculation already made: the text reaches a working editor
  rm -f "$E2E_EXPORT"
  key F7
  export_arrived
}

open_with_gone() { ! window_of_ours "^Apri con$"; }

# Info > medical software > the first link, from the keyboard: Info has no access key of its own,
# so the way is through Opzioni's.
open_first_link() {
  key alt+o
  key Right
  key Down
  key Right
  key Return
}


echo "-- print service down"
if start CUPS_SERVER=/nonexistent/cups.sock; then
  type_worked_example 'type_text 1.2'
  key F3
  expect_message "print service down, the question" "Stampare i dati?" &&
    expect_message "print service down" \
      "Impossibile stampare il rapporto: il servizio di stampa non risponde" &&
    window_still_works "print service down"
  stop
else
  fail "print service down: window shown"
fi

echo "-- no editor"
# Nothing but an empty folder on PATH; an editor is installed there once the message has been seen.
mkdir -p "$work/later"
if start PATH="$work/later"; then
  type_worked_example 'type_text 1.2'
  key F7
  if expect_message "no editor" \
    "Nessun editor di testo trovato: installare uno tra gnome-text-editor, gedit, kwrite, kate, mousepad, featherpad e pluma."; then
    install_recording_editor "$work/later" gedit
    check "no editor: a second F7 reaches the editor installed since" export_again
  fi
  stop
else
  fail "no editor: window shown"
fi

echo "-- an editor that exits at once"
mkdir -p "$work/quits"
printf '#!/bin/sh\nexit 1\n' >"$work/quits/gedit"
chmod +x "$work/quits/gedit"
if start PATH="$work/quits:$PATH"; then
  type_worked_example 'type_text 1.2'
  key F7
  if expect_message "editor exits at once" "L'editor di testo gedit non ha ricevuto il testo."; then
    check "editor exits at once: nothing was recorded" test ! -e "$E2E_EXPORT"
    install_recording_editor "$work/quits" gedit
    window_still_works "editor exits at once"
  fi
  stop
else
  fail "editor exits at once: window shown"
fi

echo "-- no browser"
if start; then
  type_worked_example 'type_text 1.2'
  open_first_link
  if wait_for $cap window_of_ours "^Apri con$"; then
    pass "no browser: the \"Apri con\" dialog appears"
    key Escape
    check "no browser: the dialog goes on Esc" wait_for $cap open_with_gone
    xdotool windowfocus --sync "$wid"
    check "no browser: the window works afterwards" export_again
    # The export came after the dialog closed: a message it led to would be on show by now.
    check "no browser: no message follows" message_box_gone
  else
    fail "no browser: the \"Apri con\" dialog appears"
  fi
  stop
else
  fail "no browser: window shown"
fi

echo "-- a browser that fails"
mkdir -p "$XDG_DATA_HOME/applications" "$work/browser"
cat >"$work/browser/fake-browser" <<SH
#!/bin/sh
echo "\$@" >"$work/browser/called"
exit 1
SH
chmod +x "$work/browser/fake-browser"
cat >"$XDG_DATA_HOME/applications/fake-browser.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Fake Browser
Exec=$work/browser/fake-browser %u
MimeType=x-scheme-handler/http;x-scheme-handler/https;
DESKTOP
xdg-mime default fake-browser.desktop x-scheme-handler/http x-scheme-handler/https
if [ "$(xdg-mime query default x-scheme-handler/http)" != fake-browser.desktop ]; then
  fail "a browser that fails: registering the fake browser"
elif start; then
  type_worked_example 'type_text 1.2'
  open_first_link
  expect_message "a browser that fails" "Impossibile aprire la pagina 'http://www.nomra.example/' nel browser." &&
    check "a browser that fails: the browser was asked" grep -qx "http://www.nomra.example/" "$work/browser/called" &&
    window_still_works "a browser that fails"
  stop
else
  fail "a browser that fails: window shown"
fi

finish faults
