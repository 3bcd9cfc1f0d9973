#!/usr/bin/env bash
# Under an X11 window manager (openbox) the window refuses to be minimized or made full screen,
# asked as a taskbar or pager asks: it has no minimize button and no taskbar entry, so nothing
# could bring it back. Each refusal is seen as it happens (the window manager's own record of
# the window's state, followed with xprop -spy); afterwards the window is where it was, as it
# was, and has the keyboard.
# Usage: window_states.sh PATH_TO_RISTEMO   (under tests/support/with_xvfb)
set -uo pipefail
bin="$1"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

# The window manager itself needs the machine's folders for its theme and settings.
XDG_CONFIG_DIRS=/etc/xdg XDG_DATA_DIRS=/usr/share openbox >/dev/null 2>&1 &
pids+=("$!")
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id" &&
  xprop -root _OB_THEME | grep -q '"'; }
wait_for 60 wm_ready || fail "openbox runs"

"$bin" 2>"$work/stderr" &
pid=$!
pids+=("$pid")
wait_for 60 xdotool search --onlyvisible --pid "$pid" --name "^Ristemo 1.0" ||
  { fail "window shown"; finish window_states; exit; }
wid=$(xdotool search --onlyvisible --pid "$pid" --name "^Ristemo 1.0" | head -n 1)
active() { [ "$(xdotool getactivewindow)" = "$wid" ]; }
wait_for 60 active || fail "the new window has the keyboard"
geometry() { xwininfo -id "$wid" | grep -E 'Absolute|Width|Height|Map State'; }
placed=$(geometry)

# True once the spied property has shown the state and later a line without it.
came_back() {  # spy output, line that marks the state, line that marks the usual state
  awk -v state="$2" -v usual="$3" '
    index($0, state) { seen = 1; back = 0; next }
    seen && index($0, usual) && !index($0, state) { back = 1 }
    END { exit !back }' "$1"
}

refused() {  # request, property, line that marks the state, line that marks the usual state
  local spy="$work/spy-$1"
  xprop -spy -id "$wid" "$2" >"$spy" 2>&1 &
  local spy_pid=$!
  # The spy prints the property once when it starts: only then are later changes in its output.
  wait_for 60 test -s "$spy"
  "$here/wm_request.py" "$wid" "$1"
  wait_for 60 came_back "$spy" "$3" "$4"
  local status=$?
  kill "$spy_pid" 2>/dev/null
  [ "$status" -eq 0 ] || { echo "$2 went: $(tr '\n' ' ' <"$spy")"; return 1; }
}

check "minimize refused: the window manager iconified it and it came back" \
  refused minimize WM_STATE "window state: Iconic" "window state: Normal"
check "minimize refused: the window has the keyboard again" wait_for 60 active
check "full screen refused: the window manager made it full screen and it came back" \
  refused fullscreen _NET_WM_STATE "_NET_WM_STATE_FULLSCREEN" "_NET_WM_STATE"
same_place() { [ "$(geometry)" = "$placed" ]; }
check "after the refusals the window stands where it was, in its size" wait_for 60 same_place
check "after the refusals the window has the keyboard" wait_for 60 active
# Typed into at once: the keyboard is the window's, the program works on.
check "typed into after the refusals, exported" run_worked_example 'type_text 1.2'
finish window_states
