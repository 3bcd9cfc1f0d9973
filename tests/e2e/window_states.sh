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
wait_for 60 xdotool search --onlyvisible --pid "$pid" --name "^Ristemo " ||
  { fail "window shown"; finish window_states; exit; }
wid=$(xdotool search --onlyvisible --pid "$pid" --name "^Ristemo " | head -n 1)
active() { [ "$(xdotool getactivewindow)" = "$wid" ]; }
wait_for 60 active || fail "the new window has the keyboard"
geometry() { xwininfo -id "$wid" | grep -E 'Absolute|Width|Height|Map State'; }
placed=$(geometry)

# The events xev reports for the window (its structure and properties). Events are queued for the listener, so
# none is missed however fast the program undoes a state; values read back from the window
# (xprop -spy) can already be the restored ones under load.
listen() {  # file
  xev -id "$wid" -event structure -event property >"$1" 2>&1 &
  spy_pid=$!
  # A property of our own, set once xev listens, proves that it does.
  listening() {
    xprop -id "$wid" -f _RISTEMO_TEST_MARK 8s -set _RISTEMO_TEST_MARK "$1" 2>/dev/null
    grep -q _RISTEMO_TEST_MARK "$1"
  }
  wait_for 60 listening "$1"
}
# Minimized: the window manager unmapped the window, later mapped again.
minimized_and_back() {
  awk '/^UnmapNotify/ { gone = 1 } gone && /^MapNotify/ { back = 1 } END { exit !back }' "$1"
}
# Full screen: the window manager moved it to the screen's corner without its frame (its size
# is fixed), then back to where it stood. Its own reports are the synthetic ConfigureNotify.
fullscreen_and_back() {  # file, "(x,y)" where the window stood
  awk -v home="$2" '
    /^ConfigureNotify/ { synthetic = /synthetic YES/; next }
    synthetic && match($0, /\([-0-9]+,[-0-9]+\)/) {
      at = substr($0, RSTART, RLENGTH); synthetic = 0
      if (at == "(0,0)") full = 1; else if (full && at == home) back = 1
    }
    END { exit !back }' "$1"
}
refused() {  # request, check over the events, its arguments
  local events="$work/events-$1" request=$1 spy_pid
  shift
  listen "$events"
  "$here/wm_request.py" "$wid" "$request"
  wait_for 60 "$@" "$events"
  local status=$?
  kill "$spy_pid" 2>/dev/null
  [ "$status" -eq 0 ] || { echo "events seen: $(grep -E '^[A-Z]|\(' "$events" | tr '\n' ' ')"; return 1; }
}
home=$(xwininfo -id "$wid" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
  END { printf "(%d,%d)", x, y }')
fullscreen_and_back_to_home() { fullscreen_and_back "$1" "$home"; }

check "minimize refused: the window manager iconified it and it came back" \
  refused minimize minimized_and_back
check "minimize refused: the window has the keyboard again" wait_for 60 active
check "full screen refused: the window manager made it full screen and it came back" \
  refused fullscreen fullscreen_and_back_to_home
same_place() { [ "$(geometry)" = "$placed" ]; }
check "after the refusals the window stands where it was, in its size" wait_for 60 same_place
check "after the refusals the window has the keyboard" wait_for 60 active
# Typed into at once: the keyboard is the window's, the program works on.
check "typed into after the refusals, exported" run_worked_example 'type_text 1.2'
finish window_states
