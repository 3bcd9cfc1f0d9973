# What the Wine end-to-end scripts share; they source it once wine_run, prefix and exe are set.
export WINEPREFIX="$prefix" PATH=/usr/bin:/bin LC_ALL=it_IT.UTF-8
work=$(mktemp -d)
pid=""
# The prefix's server knows the display it started on: a fresh one for this display, and none
# left behind for a display that is about to go.
wineserver -k 2>/dev/null
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

. "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../support/keys.sh"
texts() { "$wine_run" "$prefix" "$win_text" "$@"; }
# Each prints the window's id, and fails while there is none.
main_window() { xdotool search --onlyvisible --name '^Ristemo ' | head -n 1 | grep .; }
message_box() { xdotool search --onlyvisible --name '^ristemo$' | head -n 1 | grep .; }
ended() { ! kill -0 "$pid" 2>/dev/null; }
start() {  # LC_ALL value: starts ristemo.exe, sets pid
  env LC_ALL="$1" "$wine_run" "$prefix" "$exe" &
  pid=$!
}
