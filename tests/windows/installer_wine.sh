#!/usr/bin/env bash
# The installer under Wine: a silent install puts ristemo.exe in Program Files with a Start-menu
# shortcut and an entry in "Apps and features"; the silent uninstall then leaves nothing behind.
# Usage: installer_wine.sh WINE_RUN PREFIX SETUP_EXE
set -uo pipefail
wine_run="$1" prefix="$2" setup="$3"
export WINEPREFIX="$prefix" PATH=/usr/bin:/bin
unset DISPLAY
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

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

"$wine_run" "$prefix" "$setup" /S
check "install: ristemo.exe in Program Files" test -f "$program/ristemo.exe"
check "install: the Start-menu shortcut" test -f "$shortcut"
check "install: listed in Apps and features" \
  grep -q 'DisplayName *REG_SZ *Ristemo 1.0$' <(registered DisplayName)
check "install: with its uninstaller" \
  grep -q 'UninstallString *REG_SZ *"C:\\Program Files\\Ristemo\\uninstall.exe"$' \
  <(registered UninstallString)

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
