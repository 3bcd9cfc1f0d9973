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

# The program's Wayland traffic tells when a step has reached it and the screen: "enter" and "key"
# lines are the keyboard it was given and the keys it received, "commit" lines what it drew and
# "done" lines the frames the compositor has shown.
keys_received() { grep -c 'wl_keyboard@[0-9]*\.key(' "$work/stderr"; }
# For wait_for, which runs its command again and again: the count is read at each try.
keys_received_at_least() { [ "$(keys_received)" -ge "$1" ]; }
# The program's window has the keyboard: the last the compositor said of it was an enter.
keyboard_ours() {
  grep -E 'wl_keyboard@[0-9]+\.(enter|leave)\(' "$work/stderr" | tail -n 1 | grep -q '\.enter('
}

# Keys for the program, each waited for: the next is sent once the program has received the press
# and the release of every key of the last, so that a key lost on the way is named at once instead
# of turning up later as a box left empty.
received_key() {  # xdotool key names or chords, each a key of its own
  local chord n keys
  for chord; do
    n=$(keys_received)
    IFS=+ read -ra keys <<<"$chord"
    xdotool key --delay 60 "$chord"
    wait_for $((cap / 3)) keys_received_at_least $((n + 2 * ${#keys[@]})) ||
      { keys_lost "key $chord" "$n" $((2 * ${#keys[@]})); return 1; }
  done
}
received_text() {  # text, typed a character at a time
  local i n
  for ((i = 0; i < ${#1}; i++)); do
    n=$(keys_received)
    xdotool type --delay 60 "${1:i:1}"
    wait_for $((cap / 3)) keys_received_at_least $((n + 2)) ||
      { keys_lost "typing ${1:0:i}[${1:i:1}]${1:i+1}" "$n" 2; return 1; }
  done
}
keys_lost() {  # what was sent, key events before, key events sent
  local focus=no
  [ "$(xdotool getwindowfocus)" = "$WESTON_WINDOW" ] && focus=yes
  echo "$1: $(($(keys_received) - $2)) of $3 key events reached the program" \
    "(weston's window has the X keyboard: $focus)"
  last_traffic
}

# Whether what the program drew after the last key press is on the screen: "shown" once its last
# drawing asked for a frame and the compositor has shown it, so it has acted on every request the
# program made before; "unasked" when that drawing asked for none and none is pending (Qt asks for
# no frame while one is pending), so that nothing more will come without another drawing;
# "waiting" otherwise. The window is the first surface given a role.
drawing_state() {
  awk '!window && /-> xdg_wm_base@[0-9]+\.get_xdg_surface\(/ {
         match($0, /wl_surface@[0-9]+/); window = substr($0, RSTART, RLENGTH) }
       /wl_keyboard@[0-9]+\.key\(.*, 1\)$/ { drawn = 0 }
       window && index($0, "-> " window ".frame(new id wl_callback@") {
         match($0, /wl_callback@[0-9]+/); asked = substr($0, RSTART, RLENGTH); pending[asked] = 1 }
       window && index($0, "-> " window ".commit()") { last = asked; asked = ""; drawn = 1 }
       /wl_callback@[0-9]+\.done\(/ {
         match($0, /wl_callback@[0-9]+/); delete pending[substr($0, RSTART, RLENGTH)] }
       END { for (c in pending) n++
             if (drawn && last != "" && !(last in pending)) print "shown"
             else if (drawn && last == "" && !n) print "unasked"
             else print "waiting" }' "$work/stderr"
}
shown_after_last_press() { [ "$(drawing_state)" = shown ]; }
drawn_after_last_press() { [ "$(drawing_state)" != waiting ]; }
# What the program last said and heard on Wayland, for a failed step.
last_traffic() {
  grep -E 'wl_keyboard|xdg_(toplevel|surface|popup)|wl_callback|frame\(|commit\(' "$work/stderr" |
    tail -n 25
}
