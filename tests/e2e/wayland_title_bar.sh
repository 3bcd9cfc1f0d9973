#!/usr/bin/env bash
# The program's own title bar in a Wayland session, at the scale the user chose: it spans the
# window, its close button stands in the top-right corner and closes the window, and it looks
# active whenever the window has the keyboard, also after a menu has been opened and closed.
# Usage: wayland_title_bar.sh PATH_TO_RISTEMO [NAME=VALUE...]
#        (under tests/support/with_xvfb and tests/support/with_weston [--scale=N]; the NAME=VALUE
#        pairs are the program's environment, QT_SCALE_FACTOR=1.5 for example)
set -uo pipefail
bin="$1"
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/wayland.sh"
export QT_QPA_PLATFORM=wayland
unset DBUS_SESSION_BUS_ADDRESS

# Screen pixels per point of the window: the output's scale times Qt's own.
qt_scale=1
for setting; do case "$setting" in QT_SCALE_FACTOR=*) qt_scale=${setting#*=} ;; esac; done
k=$(awk -v a="$WESTON_SCALE" -v b="$qt_scale" 'BEGIN { print a * b }')
# The window's width on the screen, as the program last gave it to the compositor.
window_width() {
  sed -n 's/.*-> xdg_surface@[0-9]*\.set_window_geometry(0, 0, \([0-9]*\), .*/\1/p' "$work/stderr" |
    tail -n 1 | awk -v scale="$WESTON_SCALE" '{ print $1 * scale }'
}

# Typed text the program has received and the compositor has shown the frame after it.
type_shown() {  # text
  local n
  n=$(keys_received)
  type_text "$1"
  wait_for $cap keys_received_at_least $((n + 2 * ${#1})) ||
    { echo "typed $1: $(keys_received) key events, $n before"; last_traffic; return 1; }
  wait_for $cap frame_after_last_press ||
    { echo "typed $1: no frame shown after it"; last_traffic; return 1; }
}

# The measures of the title bar on the screen now, and the window's width.
measure() {
  bar=$(screen_title_bar) || bar=""
  read -r left top run cross_x cross_y cross_level <<<"${bar:--1 -1 -1 -1 -1 255}"
  width=$(window_width)
  echo "title bar: left $left, top $top, inner width $run, cross at ($cross_x, $cross_y)," \
    "darkest $cross_level; window $width px wide; $k pixels a point"
}
# Within the window's border (a pixel or two a side) the title bar is as wide as the window.
spans_window() {
  awk -v run="$run" -v w="$width" -v k="$k" \
    'BEGIN { exit !(run <= w && run >= w - 2 * int(k + 0.99)) }'
}
# Where the close button's middle stands: 15 points left of the window's right edge and 14 below
# its top (the button is 20 points wide, 4 from the border). From the title bar's inside, a
# border's width off, well within the 3 points the check allows.
close_button_place() {
  awk -v x="$((left + width))" -v y="$top" -v k="$k" 'BEGIN { print x - 15 * k, y + 14 * k }'
}
close_button_in_corner() {
  local expected_x expected_y
  read -r expected_x expected_y <<<"$(close_button_place)"
  awk -v x="$cross_x" -v y="$cross_y" -v ex="$expected_x" -v ey="$expected_y" -v k="$k" \
    'function off(a, b) { return a > b ? a - b : b - a }
     BEGIN { exit !(off(x, ex) <= 3 * k && off(y, ey) <= 3 * k) }'
}
# Drawn in the text colour of an active window (black), not an inactive one's grey.
looks_active() { [ "$cross_level" -le 64 ]; }

# Weston has the X keyboard before the program starts: the window gets the keyboard when shown.
xdotool windowfocus --sync "$WESTON_WINDOW"
# No leak check at the end (sanitizer builds): Qt's Wayland client keeps allocations for the life
# of the process (tests/e2e/desktops.sh).
env WAYLAND_DEBUG=client ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$@" \
  "$bin" 2>"$work/stderr" &
pid=$!
pids+=("$pid")
if wait_for $cap grep -q 'wl_keyboard@[0-9]*\.enter(' "$work/stderr" && type_shown 12; then
  measure
  check "title bar as wide as the window" spans_window
  check "close button in the top-right corner" close_button_in_corner
  check "title bar active while typing" looks_active

  key alt+o
  if wait_for $cap grep -q 'xdg_popup@[0-9]*\.configure(' "$work/stderr"; then
    key Escape
    wait_for $cap grep -q -- '-> xdg_popup@[0-9]*\.destroy()' "$work/stderr" ||
      fail "Escape closes the menu"
    type_shown 3 || fail "typed into the window after the menu"
    measure
    check "title bar active while typing, after a menu was opened and closed" looks_active
  else
    fail "Alt+O opens the menu"
  fi

  # A click on the top-right corner, where the close button stands: the program ends normally.
  pointer_into_weston
  read -r x y <<<"$(close_button_place)"
  xdotool mousemove -- "${x%.*}" "${y%.*}" click 1
  if wait_for $cap sh -c "! kill -0 $pid"; then
    wait "$pid"
    check "close button: the program ends normally" test "$?" -eq 0
  else
    fail "close button closes the window"
  fi
else
  fail "window shown, with the keyboard, typed into"
fi
finish "wayland title bar ($*, output scale $WESTON_SCALE)"
