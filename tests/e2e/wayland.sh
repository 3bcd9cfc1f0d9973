# Helpers of the end-to-end scripts that run the program in weston (tests/support/with_weston),
# sourced after lib.sh. The program runs with WAYLAND_DEBUG=client, its traffic in $work/stderr.

# The title bar on weston's screen, as tests/e2e/title_bar.py measures it.
screen_title_bar() {
  local screen_width
  screen_width=$(xdotool getwindowgeometry --shell "$WESTON_WINDOW" | sed -n 's/^WIDTH=//p')
  import -window "$WESTON_WINDOW" -depth 8 rgb:- | "$here/title_bar.py" "$screen_width"
}

# Weston's X11 back end puts its pointer where the X pointer enters its window, and keeps it at
# (0,0) until then: the pointer goes out of weston's window and back in, so that the first click
# lands where it is aimed.
pointer_into_weston() {
  xdotool mousemove -- 1270 1010
  xdotool mousemove --window "$WESTON_WINDOW" -- 5 5
}

# The program's Wayland traffic tells when a step has reached it and the screen: "key" lines are
# the keys it received, "done" lines the frames the compositor has shown.
keys_received() { grep -c 'wl_keyboard@[0-9]*\.key(' "$work/stderr"; }
# For wait_for, which runs its command again and again: the count is read at each try.
keys_received_at_least() { [ "$(keys_received)" -ge "$1" ]; }
# A frame drawn after the last key press has been shown: the program asked for it (its frame
# callback) after the press, and the compositor has answered, so it has acted on every request the
# program made before.
frame_after_last_press() {
  awk '/wl_keyboard@[0-9]+\.key\(.*, 1\)$/ { delete asked; shown = 0 }
       /-> wl_surface@[0-9]+\.frame\(new id wl_callback@/ { match($0, /wl_callback@[0-9]+/)
         asked[substr($0, RSTART, RLENGTH)] = 1 }
       /wl_callback@[0-9]+\.done\(/ { match($0, /wl_callback@[0-9]+/)
         if (substr($0, RSTART, RLENGTH) in asked) shown = 1 }
       END { exit !shown }' "$work/stderr"
}
# What the program last said and heard on Wayland, for a failed step.
last_traffic() {
  grep -E 'wl_keyboard|xdg_toplevel|xdg_surface|xdg_popup|wl_callback|frame\(' "$work/stderr" |
    tail -n 25
}
