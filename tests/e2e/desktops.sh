#!/usr/bin/env bash
# The real binary on the desktops users have: under an X11 window manager (openbox) and in a
# Wayland session (weston), typed into with xdotool as a user would.
# Usage: desktops.sh openbox PATH_TO_RISTEMO   (under tests/support/with_xvfb)
#        desktops.sh wayland PATH_TO_RISTEMO   (under with_xvfb and tests/support/with_weston)
set -uo pipefail
# A session bus of our own, for the accessibility tree through which the window is read.
if [ -z "${E2E_PRIVATE_BUS:-}" ]; then
  E2E_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
mode="$1"
bin="$2"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/wayland.sh"

# Nothing of the machine's: no default editor, no installed editor but the recording one.
isolated=(PATH="$work/bin")
title="Ristemo 1.0 - © 2026 gli autori di Ristemo"

launch() {  # extra environment...: starts ristemo, sets pid
  env "${isolated[@]}" "$@" "$bin" 2>"$work/stderr" &
  pid=$!
  pids+=("$pid")
}

alive() { kill -0 "$pid" 2>/dev/null; }

window_shows() {  # expected "name=value" lines: input boxes in tab order, then result boxes
  local text
  text=$("$here/window_text.py" "$pid" "$title" --values 2>/dev/null | grep '=')
  [ "$text" = "$(printf '%s\n' "$@")" ] || { echo "window: [$text]"; return 1; }
}
worked_example=("creatinina=1,2" "peso (kg)=80" "altezza (m)=1,75" "età (anni)=70"
  "clearance  creatinina stimata=64,8" "body mass index=26,1"
  "peso ideale e scostamento=70,4 (+13,6%)" "superficie corporea=1,96" "stima massa magra=65,76")

# The window's title bar as "RIGHT TOP WIDTH": its right edge, top row and width on weston's
# screen. Qt's usual title bar stands its maximize button 40 pixels left of that edge and its
# minimize button 63, both 15 below the top.
title_bar() {
  local place left top width
  place=$(screen_title_bar) || return 1
  read -r left top width _ <<<"$place"
  # A rounded corner takes 3 pixels off the top row.
  echo "$((left + width + 3)) $top $width"
}

# A request made to the window the way a user makes it: a click on where Qt's title bar has its
# minimize or maximize button, a double click on the title, or the compositor's own keys.
request() {  # minimize-button | maximize-button | title-double-click | KEYS
  local place right top
  place=$(title_bar) || return 1
  read -r right top _ <<<"$place"
  case "$1" in
  minimize-button) xdotool mousemove -- $((right - 63)) $((top + 15)) click 1 ;;
  maximize-button) xdotool mousemove -- $((right - 40)) $((top + 15)) click 1 ;;
  title-double-click)
    xdotool mousemove -- $((right - 250)) $((top + 15)) click --repeat 2 --delay 80 1 ;;
  *) key "$1" ;;
  esac
}

# Presses Tab (which redraws the window) and waits until the program has handled it and the
# compositor has shown the result: twice, so that a new size the compositor asked for in between
# is drawn too. Then the window on the screen shows every request made before.
settle() {
  local i n
  for i in 1 2; do
    n=$(keys_received)
    # The Tab only paces the test: one that weston keeps (it handles its own key bindings, and a
    # full run once waited 60 s in vain here after Super+Shift+F) is sent once more.
    key Tab
    wait_for $((cap / 3)) keys_received_at_least $((n + 2)) ||
      { key Tab && wait_for $((cap / 3)) keys_received_at_least $((n + 2)); } ||
      { echo "Tab $i: the program received no key ($n before)"; last_traffic; return 1; }
    wait_for $cap frame_after_last_press ||
      { echo "Tab $i: no frame shown after it"; last_traffic; return 1; }
  done
}

case "$mode" in
openbox)
  # The window manager itself needs the machine's folders for its theme and settings.
  XDG_CONFIG_DIRS=/etc/xdg XDG_DATA_DIRS=/usr/share openbox >/dev/null 2>&1 &
  pids+=("$!")
  # xprop succeeds also when the property is missing: look for the window it names. openbox
  # names its theme once it has taken over the screen and is ready to manage windows.
  wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK _OB_THEME | grep -q "window id" &&
    xprop -root _OB_THEME | grep -q '"'; }
  wait_for $cap wm_ready || fail "openbox runs"
  launch
  if wait_for $cap xdotool search --onlyvisible --pid "$pid" --name "^Ristemo 1.0"; then
    # No activation by the test: the window must get the keyboard by itself.
    if wait_for $cap has_focus_ours; then
      pass "the new window has the keyboard"
      wid=$(xdotool getwindowfocus)
      check "typed at once into the new window, exported" run_worked_example 'type_text 1.2'
    else
      fail "the new window has the keyboard"
    fi
  else
    fail "window shown"
  fi
  ;;
wayland)
  export QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  "$here/window_text.py" 0 none >/dev/null 2>&1
  # The keys xdotool sends go to weston's window, and from weston to the window it activates.
  xdotool windowfocus --sync "$WESTON_WINDOW"
  # WAYLAND_DEBUG: the requests the program makes, to read the app id from. No leak check at the
  # end (sanitizer builds): Qt's Wayland client, EGL and xkbcommon keep allocations for the life of
  # the process, some from a driver unloaded by then that a suppression cannot name.
  launch WAYLAND_DEBUG=client ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  if wait_for $cap "$here/window_text.py" "$pid" "$title"; then
    # The compositor activates the window a little after it is mapped.
    wait_for $cap "$here/window_text.py" "$pid" "$title" --active || fail "window active"
    check "app id is the desktop entry's" \
      grep -q 'set_app_id("org.example.Ristemo")' "$work/stderr"
    type_worked_example 'type_text 1.2'
    check "typed example and its results shown" wait_for $cap window_shows "${worked_example[@]}"
    key F7
    check "typed example exported" export_arrived
    # Neither Qt's title bar nor the compositor may minimize the window (a desktop without a task
    # bar could never give it back) or change its size: it stays where it was, as it was. Weston
    # maximizes with Super+Shift+M and goes full screen with Super+Shift+F.
    placed=$(title_bar)
    check "title bar found" test -n "$placed"
    pointer_into_weston
    for what in minimize-button title-double-click maximize-button super+shift+m super+shift+f; do
      request "$what" || fail "$what: title bar found"
      # A key that redraws the window: the compositor judges the size on the next frame.
      settle || fail "$what: the window redraws"
      check "$what: still running" alive
      check "$what: still shown, in the same place and size" test "$(title_bar)" = "$placed"
      check "$what: the window keeps the example" window_shows "${worked_example[@]}"
    done
    rm -f "$E2E_EXPORT"
    key F7
    check "exported after the maximize requests" export_arrived
    # The title bar moves the window, and its close box closes it the usual way: the program ends
    # by itself.
    read -r right top width <<<"$placed"
    # The compositor moves the window from when the program asks it to, after the press.
    xdotool mousemove -- $((right - 250)) $((top + 15)) mousedown 1 sleep 0.5 \
      mousemove_relative -- -50 30 sleep 0.2 mousemove_relative -- -50 30 sleep 0.2 mouseup 1
    moved() { test "$(title_bar)" = "$((right - 100)) $((top + 60)) $width"; }
    check "title bar drags the window" wait_for $cap moved
    read -r right top _ <<<"$(title_bar)"
    xdotool mousemove -- $((right - 16)) $((top + 15)) click 1
    if wait_for $cap sh -c "! kill -0 $pid"; then
      wait "$pid"
      check "close box: the program ends normally" test "$?" -eq 0
    else
      fail "close box closes the window"
    fi
  else
    fail "window shown"
  fi
  grep -i 'error' "$work/stderr" | grep -v '^\[' | head -5
  ;;
esac
finish "desktops $mode"
