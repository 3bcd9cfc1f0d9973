#!/usr/bin/env bash
# The NSIS installer under Wine. Its pages in Italian. For all users (an administrator's silent
# install): Program Files, the all-users Start menu, an entry of the machine in "Apps and
# features"; the next version over it replaces it, one entry left; a user who is not an
# administrator can neither replace nor remove it; no uninstall while the program runs; the silent
# uninstall leaves nothing behind. For the current user alone (chosen by itself for a user who is
# not an administrator, or with /CurrentUser): the user's programs folder, Start menu and entry;
# /AllUsers refused to such a user; the next version over it; nothing left behind.
# A user who is not an administrator is the prefix's user with the Administrators group kept only
# to deny (win_text as-user); Wine does not refuse such a user the machine's folders and registry,
# so what is checked is that the installer does not use them.
# Usage: installer_wine.sh WINE_RUN PREFIX WIN_TEXT_EXE SETUP_EXE RISTEMO_EXE NEXT_SETUP_EXE
#          NEXT_RISTEMO_EXE   (under an X server)
set -uo pipefail
wine_run="$1" prefix="$2" win_text="$3" setup="$4" exe="$5" next_setup="$6" next_exe="$7"
export WINEPREFIX="$prefix" PATH=/usr/bin:/bin LC_ALL=it_IT.UTF-8
work=$(mktemp -d)
pid=""
trap 'kill $pid 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

. "$(dirname "$0")/../support/checks.sh"

version_of() { local name="${1##*/ristemo-}"; echo "${name%-setup.exe}"; }
version=$(version_of "$setup") next=$(version_of "$next_setup")
win() { "$wine_run" "$prefix" "$@"; }
texts() { win "$win_text" "$@"; }
as_user() { win "$win_text" as-user "$@"; }
# _?= keeps the uninstaller in place, so that it returns its status; NSIS reads it unquoted.
machine_uninstall=('C:\Program Files\Ristemo\uninstall.exe' /S '_?=C:\Program Files\Ristemo')
to_windows() { echo "Z:${1//\//\\}"; }
setup=$(to_windows "$setup") next_setup=$(to_windows "$next_setup")

entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Ristemo'
drive="$prefix/drive_c"
machine_dir="$drive/Program Files/Ristemo"
machine_link="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Ristemo.lnk"
profile="$drive/users/$(id -un)"
user_dir="$profile/AppData/Local/Programs/Ristemo"
user_link="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ristemo.lnk"
# Every file and folder of the Windows drive but the temporary ones, and both entries.
snapshot() {
  (cd "$drive" && find . -path '*/Temp' -prune -o -print | sort)
  for root in HKLM HKCU; do win reg query "$root\\$entry" 2>/dev/null | tr -d '\r' | grep -v '^reg:'; done
  true
}
value() {  # HKLM|HKCU, name: the entry's value
  win reg query "$1\\$entry" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v v="$2" '$1 == v { $1 = $2 = ""; sub(/^ +/, ""); print }'
}
same_as() { snapshot >"$work/now" && cmp -s "$1" "$work/now"; }
check_unchanged() {  # what
  if same_as "$work/before"; then pass "$1: nothing changed"; else
    fail "$1: changed:"
    diff "$work/before" "$work/now"
  fi
}
left_nothing() {  # what: the drive and the entries as before the first install
  if wait_for 30 same_as "$work/clean"; then pass "$1: nothing left behind"; else
    fail "$1: left behind:"
    diff "$work/clean" "$work/now"
  fi
}
# One installation, of the given version, in the given place, with its shortcut and entry, and
# none in the other place.
installed() {  # what, HKLM|HKCU, version, program
  local what="$1" root="$2" version="$3" program="$4" dir link other other_dir other_link
  if [ "$root" = HKLM ]; then
    dir="$machine_dir" link="$machine_link" other=HKCU other_dir="$user_dir" other_link="$user_link"
  else
    dir="$user_dir" link="$user_link" other=HKLM other_dir="$machine_dir" other_link="$machine_link"
  fi
  check "$what: the program" cmp -s "$dir/ristemo.exe" "$program"
  check "$what: the Start-menu shortcut" test -f "$link"
  check "$what: listed in Apps and features as Ristemo $version" \
    test "$(value "$root" DisplayName)" = "Ristemo $version"
  check "$what: with its uninstaller" \
    test "$(value "$root" UninstallString)" = "\"$(value "$root" InstallLocation)\\uninstall.exe\""
  check "$what: no other installation" \
    test ! -e "$other_dir" -a ! -e "$other_link" -a -z "$(value "$other" DisplayName)"
}

# A run stopped half-way may have left an installation in the prefix: it goes first.
rm -rf "$machine_dir" "$machine_link" "$user_dir" "$user_link"
for root in HKLM HKCU; do win reg delete "$root\\$entry" /f >/dev/null 2>&1; done
snapshot >"$work/clean"
check "the two builds are two programs" test -n "$(cmp "$exe" "$next_exe" 2>&1)"

# The pages: for an administrator, all users or the current user alone; then the folder, with the
# size with a decimal comma, and no English line at the foot. NSIS ends the window's title with a
# blank.
title="Installazione di Ristemo $version "
"$wine_run" "$prefix" "$setup" &
pid=$!
page_holds() { texts children "$title" >"$work/page" && grep -q "$1" "$work/page"; }
if wait_for 60 page_holds 'Installazione per il singolo utente'; then
  check "installer page: for all users, by default" grep -q 'Installazione per tutti gli utenti' "$work/page"
  texts press "$title" "Avanti >"
  if wait_for 60 page_holds 'Spazio richiesto'; then
    check "installer page: the size with a comma" grep -q 'Spazio richiesto: [0-9]*,[0-9] [KM]B' "$work/page"
    check "installer page: no English branding" test -z "$(grep -i 'Nullsoft' "$work/page")"
  else
    fail "installer: no folder page after the users' page"
  fi
else
  fail "installer: no page of the users to install for"
fi
kill "$pid"
wait "$pid" 2>/dev/null


# For all users: an administrator's silent install, then the next version over it.
win "$setup" /S
installed "all users" HKLM "$version" "$exe"
win "$next_setup" /S /AllUsers
installed "all users, next version over it" HKLM "$next" "$next_exe"

# A user who is not an administrator can neither replace nor remove it.
snapshot >"$work/before"
as_user "$next_setup" /S
check "user over all users: refused" test $? -ne 0
as_user "${machine_uninstall[@]}"
check "user removing all users: refused" test $? -ne 0
check_unchanged "user and all users"

# While Ristemo runs the uninstaller stops (silently: at once) and leaves the program whole, with
# its entry.
"$wine_run" "$prefix" 'C:\Program Files\Ristemo\ristemo.exe' &
pid=$!
running() { texts controls "Ristemo " 100; }
if wait_for 60 running; then
  texts run "${machine_uninstall[@]}"
  check "uninstall while running: refused" test $? -ne 0
  check_unchanged "uninstall while running"
else
  fail "the installed program does not start"
fi
kill "$pid"
wait "$pid" 2>/dev/null
closed() { ! running; }
wait_for 60 closed || fail "the installed program does not end"

# The uninstaller runs a copy of itself from the temporary folder and returns at once.
win 'C:\Program Files\Ristemo\uninstall.exe' /S
left_nothing "uninstall for all users"

# For the current user alone: chosen by itself for a user who is not an administrator, refused
# for all users; the next version over it, for the current user asked explicitly.
as_user "$setup" /S
installed "current user" HKCU "$version" "$exe"
snapshot >"$work/before"
as_user "$next_setup" /S /AllUsers
check "user asking for all users: refused" test $? -ne 0
check_unchanged "user asking for all users"
win "$next_setup" /S /CurrentUser
installed "current user, next version over it" HKCU "$next" "$next_exe"
as_user "C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Ristemo\\uninstall.exe" /S
left_nothing "uninstall for the current user"

echo "installer_wine: $failures failure(s)"
[ "$failures" -eq 0 ]
