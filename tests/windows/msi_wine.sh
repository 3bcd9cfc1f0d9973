#!/usr/bin/env bash
# The Windows Installer package under Wine's msiexec, silently as a deployment runs it: ristemo.exe
# in Program Files, the Start-menu shortcut, one entry in "Apps and features" in Italian; the next
# version over it replaces it and leaves one entry; the older one is then refused; /x leaves
# nothing behind.
# Wine's msiexec puts the shortcut of an installation for all users in the installing user's Start
# menu, where Windows puts it in the all-users one: either is taken for it.
# Usage: msi_wine.sh WINE_RUN PREFIX WIN_TEXT_EXE MSI RISTEMO_EXE NEXT_MSI NEXT_RISTEMO_EXE
#          (under an X server)
set -uo pipefail
wine_run="$1" prefix="$2" win_text="$3" msi="$4" exe="$5" next_msi="$6" next_exe="$7"
export WINEPREFIX="$prefix" PATH=/usr/bin:/bin LC_ALL=it_IT.UTF-8
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

. "$(dirname "$0")/../support/checks.sh"

version_of() { local name="${1##*/ristemo-}"; echo "${name%.msi}"; }
version=$(version_of "$msi") next=$(version_of "$next_msi")
win() { "$wine_run" "$prefix" "$@"; }
to_windows() { echo "Z:${1//\//\\}"; }
msiexec() { win msiexec "$1" "$(to_windows "$2")" /qn; }

uninstall_keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
drive="$prefix/drive_c"
program="$drive/Program Files/Ristemo/ristemo.exe"
links=("$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Ristemo.lnk"
       "$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ristemo.lnk")
# The entries of "Apps and features" named Ristemo: their name, version and publisher.
entries() {
  win reg query "$uninstall_keys" /s 2>/dev/null | tr -d '\r' |
    awk 'function flush() { if (ours) printf "%s", kept; ours = 0; kept = "" }
         /^HKEY/ { flush() }
         $1 == "DisplayName" && $3 == "Ristemo" { ours = 1 }
         $1 == "DisplayName" || $1 == "DisplayVersion" || $1 == "Publisher" { kept = kept $0 "\n" }
         END { flush() }'
}
# Every file and folder of the Windows drive but the temporary ones, and those entries.
snapshot() {
  (cd "$drive" && find . -path '*/Temp' -prune -o -print | sort)
  entries
}
installed() {  # what, version, program
  check "$1: the program" cmp -s "$program" "$3"
  check "$1: the Start-menu shortcut" test -f "${links[0]}" -o -f "${links[1]}"
  entries >"$work/entries"
  check "$1: one entry in Apps and features, Ristemo $2" \
    test "$(grep -c DisplayName "$work/entries")" = 1 -a \
    -n "$(grep "DisplayName *REG_SZ *Ristemo $2\$" "$work/entries")"
  check "$1: by gli autori di Ristemo" grep -q 'Publisher *REG_SZ *gli autori di Ristemo$' "$work/entries"
}

# A run stopped half-way may have left a package installed in the prefix: it goes first.
msiexec /x "$next_msi"
msiexec /x "$msi"
# The package cache, which Windows always has and Wine makes with its first package.
mkdir -p "$drive/windows/Installer"
snapshot >"$work/clean"
check "the two builds are two programs" test -n "$(cmp "$exe" "$next_exe" 2>&1)"

msiexec /i "$msi"
check "install: msiexec succeeds" test $? -eq 0
installed "install" "$version" "$exe"

msiexec /i "$next_msi"
check "next version over it: msiexec succeeds" test $? -eq 0
installed "next version over it" "$next" "$next_exe"

snapshot >"$work/before"
msiexec /i "$msi"
check "older version over the next: refused" test $? -ne 0
snapshot >"$work/now"
check "older version over the next: nothing changed" cmp -s "$work/before" "$work/now"

msiexec /x "$next_msi"
check "uninstall: msiexec succeeds" test $? -eq 0
snapshot >"$work/now"
if cmp -s "$work/clean" "$work/now"; then pass "uninstall: nothing left behind"; else
  fail "uninstall: left behind:"
  diff "$work/clean" "$work/now"
fi

echo "msi_wine: $failures failure(s)"
[ "$failures" -eq 0 ]
