#!/usr/bin/env bash
# Builds the Debian package, has lintian check it, unpacks it into a scratch root and checks that
# the files stand where the desktop entry says, that the dependencies were computed, and that the
# program starts.
set -uo pipefail
build="$1"
work=$(mktemp -d)
pid=""
# Only our own program: a bare "kill 0" would end the whole test run.
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
check() {  # description, command...
  local what="$1"
  shift
  if "$@" >/dev/null 2>&1; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/*.deb | head -n 1)
check "package built" test -f "$deb"
dpkg -x "$deb" "$work/root"
root="$work/root"

entry="$root/usr/share/applications/org.example.Ristemo.desktop"
check "desktop entry installed" test -f "$entry"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon_name=$(sed -n 's/^Icon=//p' "$entry")
check "Exec names an installed program" test -x "$root/usr/bin/$exec_name"
# Hardened link: relocations resolved at start, then read-only.
check "program linked with relro and now" \
  sh -c "readelf -lW '$root/usr/bin/$exec_name' | grep -q GNU_RELRO && readelf -dW '$root/usr/bin/$exec_name' | grep -Eq 'BIND_NOW|FLAGS_1.*NOW'"
check "16x16 icon installed" test -f "$root/usr/share/icons/hicolor/16x16/apps/$icon_name.png"
check "scalable icon installed" test -f "$root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg"
check "metainfo installed" test -f "$root/usr/share/metainfo/org.example.Ristemo.metainfo.xml"
# The program looks for its Wayland title bar in lib/ristemo next to its own folder.
check "Wayland title bar installed where the program looks for it" \
  test -f "$root/usr/lib/ristemo/plugins/wayland-decoration-client/libristemo.so"
check "installed entry valid" desktop-file-validate "$entry"
check "16x16 icon is 16x16" test "$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/16x16/apps/$icon_name.png")" = 16x16

# Debian's own checks: any error or warning fails the package.
if command -v lintian >/dev/null; then
  lintian "$deb" >"$work/lintian.log" 2>&1
  sed 's/^/lintian: /' "$work/lintian.log"
  check "lintian reports no error or warning" test -z "$(grep -E '^[EW]: ' "$work/lintian.log")"
else
  check "lintian installed (scripts/install-deps)" false
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6printsupport6 libcups2 xdg-utils fonts-liberation fonts-dejavu-core \
  qt6-translations-l10n; do
  check "depends on $needed" grep -q "$needed" <<<"$depends"
done

# Started from the path the desktop entry names, it shows its window.
LC_ALL= LC_NUMERIC=it_IT.UTF-8 QT_QPA_PLATFORM=xcb "$root/usr/bin/$exec_name" &
pid=$!
shown=1
for _ in $(seq 600); do  # up to 60 s
  xdotool search --onlyvisible --pid "$pid" --name "^Ristemo " >/dev/null 2>&1 && { shown=0; break; }
  sleep 0.1
done
check "installed program shows its window" test "$shown" -eq 0

echo "package: $failures failed"
[ "$failures" -eq 0 ]
