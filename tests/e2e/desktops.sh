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
title="Ristemo *"  # the main window, whatever its version

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
mapfile -t results <"$RISTEMO_TEST_DATA/worked_example_results.txt"
worked_example=("creatinina=1,2" "peso (kg)=80" "altezza (m)=1,75" "età (anni)=70"
  "clearance  creatinina stimata=${results[0]}" "body mass index=${results[1]}"
  "peso ideale e scostamento=${results[2]}" "superficie corporea=${results[3]}"
  "stima massa magra=${results[4]}")

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
  *) xdotool key --delay 60 "$1" ;;  # the compositor's: the program may never see all of it
  esac
}

# Presses Tab (which redraws the window) and waits until the program has drawn its effect and the
# compositor has shown that drawing: twice, so that a new size the compositor asked for in between
# is drawn too. Then the window on the screen shows every request made before. A drawing that
# asked for no frame shows nothing to wait for: one more Tab draws again.
settle() {
  local tabs=0
  for _ in 1 2; do
    while :; do
      received_key Tab || return 1
      tabs=$((tabs + 1))
      wait_for $cap drawn_after_last_press ||
        { echo "Tab $tabs: nothing drawn after it, or never shown"; last_traffic; return 1; }
      shown_after_last_press && break
      [ "$tabs" -lt 6 ] ||
        { echo "Tab $tabs: no drawing asked for a frame"; last_traffic; return 1; }
    done
  done
}

# A step that every later one needs has failed: the run ends here, with what the window holds and
# the failures so far.
give_up() {  # description
  fail "$1"
  [ -z "$pid" ] || echo "window: [$("$here/window_text.py" "$pid" "$title" --values 2>/dev/null |
    grep '=' | paste -sd '|')]"
  finish "desktops $mode"
  exit 1
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
  if wait_for $cap xdotool search --onlyvisible --pid "$pid" --name "^Ristemo "; then
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
  # Every key waits until the program has it (wayland.sh), also those of the worked example.
  key() { received_key "$@" || give_up "key $*: received by the program"; }
  type_text() { received_text "$1" || give_up "text $1: received by the program"; }
  "$here/window_text.py" 0 none >/dev/null 2>&1
  # The keys xdotool sends go to weston's window, and from weston to the window it activates.
  xdotool windowfocus --sync "$WESTON_WINDOW"
  # WAYLAND_DEBUG: the requests the program makes, to read the app id from. No leak check at the
  # end (sanitizer builds): Qt's Wayland client, EGL and xkbcommon keep allocations for the life of
  # the process, some from a driver unloaded by then that a suppression cannot name.
  launch WAYLAND_DEBUG=client ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  wait_for $cap "$here/window_text.py" "$pid" "$title" || give_up "window shown"
  # The compositor gives the window the keyboard a little after it is mapped.
  wait_for $cap keyboard_ours || { last_traffic; give_up "window given the keyboard"; }
  check "window active" wait_for $cap "$here/window_text.py" "$pid" "$title" --active
  check "app id is the desktop entry's" \
    grep -q 'set_app_id("org.example.Ristemo")' "$work/stderr"
  type_worked_example 'type_text 1.2'
  wait_for $cap window_shows "${worked_example[@]}" || give_up "typed example and its results shown"
  pass "typed example and its results shown"
  key F7
  check "typed example exported" export_arrived
  # Neither Qt's title bar nor the compositor may minimize the window (a desktop without a task
  # bar could never give it back) or change its size: it stays where it was, as it was. Weston
  # maximizes with Super+Shift+M and goes full screen with Super+Shift+F.
  placed=$(title_bar)
  [ -n "$placed" ] || give_up "title bar found"
  pointer_into_weston
  for what in minimize-button title-double-click maximize-button super+shift+m super+shift+f; do
    request "$what" || give_up "$what: title bar found"
    # A key that redraws the window: the compositor judges the size on the next frame.
    settle || give_up "$what: the window redraws"
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
  grep -i 'error' "$work/stderr" | grep -v '^\[' | head -5
  ;;
esac
finish "desktops $mode"
