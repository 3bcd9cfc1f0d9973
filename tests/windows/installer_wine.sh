#!/usr/bin/env bash
# The installer under Wine: its pages in Italian; a silent install puts ristemo.exe in Program
# Files with a Start-menu shortcut and an entry in "Apps and features"; no uninstall while the
# program runs; the silent uninstall then leaves nothing behind.
# Usage: installer_wine.sh WINE_RUN PREFIX SETUP_EXE WIN_TEXT_EXE VERSION   (under an X server)
set -uo pipefail
wine_run="$1" prefix="$2" setup="$3" win_text="$4" version="$5"
export WINEPREFIX="$prefix" PATH=/usr/bin:/bin LC_ALL=it_IT.UTF-8
work=$(mktemp -d)
pid=""
trap 'kill $pid 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

. "$(dirname "$0")/../support/checks.sh"

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ristemo'
drive="$prefix/drive_c"
program="$drive/Program Files/Ristemo"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Ristemo.lnk"
# Every file and folder of the Windows drive but the temporary ones, and the registry entry.
snapshot() {
  (cd "$drive" && find . -path '*/Temp' -prune -o -print | sort)
  { "$wine_run" "$prefix" reg query "$key" 2>/dev/null || true; } | tr -d '\r'
}
registered() { "$wine_run" "$prefix" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r'; }

"$wine_run" "$prefix" cmd /c exit  # boots the prefix before the first snapshot
snapshot >"$work/before"

# The directory page: the size with a decimal comma, and no English line at the foot.
"$wine_run" "$prefix" "$setup" &
pid=$!
# NSIS ends the window's title with a blank.
page() {
  "$wine_run" "$prefix" "$win_text" children "Installazione di Ristemo $version " >"$work/page" &&
    grep -q 'Spazio richiesto' "$work/page"
}
if wait_for 60 page; then
  check "installer page: the size with a comma" grep -q 'Spazio richiesto: [0-9]*,[0-9] [KM]B' "$work/page"
  check "installer page: no English branding" test -z "$(grep -i 'Nullsoft' "$work/page")"
else
  fail "installer page not shown"
fi
kill "$pid"
wait "$pid" 2>/dev/null

"$wine_run" "$prefix" "$setup" /S
check "install: ristemo.exe in Program Files" test -f "$program/ristemo.exe"
check "install: the Start-menu shortcut" test -f "$shortcut"
check "install: listed in Apps and features" \
  grep -q "DisplayName *REG_SZ *Ristemo $version\$" <(registered DisplayName)
check "install: with its uninstaller" \
  grep -q 'UninstallString *REG_SZ *"C:\\Program Files\\Ristemo\\uninstall.exe"$' \
  <(registered UninstallString)

# While Ristemo runs the uninstaller stops (silently: at once) and leaves the program whole, with
# its entry. _?= keeps the uninstaller in place, so that it returns its status; NSIS reads it only
# unquoted, so the folder's short name, without a blank.
"$wine_run" "$prefix" 'C:\Program Files\Ristemo\ristemo.exe' &
pid=$!
running() { "$wine_run" "$prefix" "$win_text" controls "Ristemo " 100; }
if wait_for 60 running; then
  "$wine_run" "$prefix" 'C:\Program Files\Ristemo\uninstall.exe' /S '_?=C:\PROGRA~1\Ristemo'
  status=$?
  check "uninstall while running: refused (status $status)" test "$status" -ne 0
  check "uninstall while running: the program stays" test -f "$program/ristemo.exe"
  check "uninstall while running: its entry stays" \
    grep -q "DisplayName *REG_SZ *Ristemo $version\$" <(registered DisplayName)
else
  fail "the installed program does not start"
fi
kill "$pid"
wait "$pid" 2>/dev/null
closed() { ! running; }
wait_for 60 closed || fail "the installed program does not end"

# The uninstaller runs a copy of itself from the temporary folder and returns at once.
"$wine_run" "$prefix" 'C:\Program Files\Ristemo\uninstall.exe' /S
check "uninstall: the program's folder goes" wait_for 60 test ! -e "$program"
gone() { snapshot >"$work/after" && cmp -s "$work/before" "$work/after"; }
if wait_for 30 gone; then pass "uninstall: nothing left behind"; else
  fail "uninstall: left behind:"
  diff "$work/before" "$work/after"
fi

echo "installer_wine: $failures failure(s)"
[ "$failures" -eq 0 ]
