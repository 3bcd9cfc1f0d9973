#!/usr/bin/env bash
# What a blind user hears: the real program under a real screen reader (Orca) in a desktop
# session of its own (session bus, accessibility bus, a speech server whose sound goes nowhere,
# a window manager), driven from the keyboard alone. Orca's debug log holds every utterance as a
# "SPEECH OUTPUT:" line before it reaches the speech server; each step waits for its words.
# Usage: screen_reader.sh PATH_TO_RISTEMO   (under tests/support/with_xvfb); E2E_KEEP=FILE keeps a
# copy of Orca's log there.
set -uo pipefail
if [ -z "${E2E_PRIVATE_BUS:-}" ]; then
  E2E_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
bin="$1"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

# The session ends in the reverse order of its start, each part gone before the next is asked
# to go and before its folders are removed: Orca takes a while, and would start another speech
# server if it outlived this one.
end_session() {
  local i p
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    p=${pids[$i]}
    kill "$p" 2>/dev/null || continue
    wait_for 5 bash -c "! kill -0 $p" || kill -9 "$p" 2>/dev/null
  done
}
trap 'end_session; cleanup' EXIT

# The sockets of the accessibility bus and the speech server are this session's.
export XDG_RUNTIME_DIR="$work/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset GTK_MODULES NO_AT_BRIDGE
# The accessibility bus and Orca read their settings' schemas and write nothing back.
export GSETTINGS_SCHEMA_DIR=/usr/share/glib-2.0/schemas GSETTINGS_BACKEND=memory
# The helpers run without the program's number locale, which the machine need not have.
helper=(env -u LC_NUMERIC)

/usr/libexec/at-spi-bus-launcher --launch-immediately &
pids+=("$!")
XDG_CONFIG_DIRS=/etc/xdg XDG_DATA_DIRS=/usr/share openbox >/dev/null 2>&1 &
pids+=("$!")
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK _OB_THEME | grep -q "window id" &&
  xprop -root _OB_THEME | grep -q '"'; }

# No sound card: the speech server hands its sound to libao's null driver.
speechd_conf="$XDG_CONFIG_HOME/speech-dispatcher"
mkdir -p "$speechd_conf"
cp -r /etc/speech-dispatcher/. "$speechd_conf/"
sed -i '/^ *AudioOutputMethod /d' "$speechd_conf/speechd.conf"
printf 'AudioOutputMethod "libao"\nDisableAutoSpawn\n' >>"$speechd_conf/speechd.conf"
echo default_driver=null >"$HOME/.libao"
"${helper[@]}" speech-dispatcher --run-single --timeout 0 -C "$speechd_conf" -L "$work" \
  >"$work/speechd.out" 2>&1 &
pids+=("$!")

# Orca refuses to start while another Orca of the same user runs, which it looks for with pgrep:
# in this session it finds none (another test's Orca, or the user's own, is not this session's).
printf '#!/bin/sh\nexit 1\n' >"$work/bin/pgrep"
chmod +x "$work/bin/pgrep"
# Orca writes its log in blocks; line-buffered, each utterance is there as it is spoken.
speech="$work/orca.log"
start_orca() {
  "${helper[@]}" /usr/bin/python3 -c '
import builtins, runpy, sys
log, plain_open = sys.argv[1], builtins.open
def line_buffered(file, mode="r", *args, **kwargs):
    if file == log:
        kwargs["buffering"] = 1
    return plain_open(file, mode, *args, **kwargs)
builtins.open = line_buffered
sys.argv = ["orca", "--debug-file", log]
runpy.run_path("/usr/bin/orca", run_name="__main__")
' "$speech" >"$work/orca.out" 2>&1 &
  pids+=("$!")
  # Orca is slow to end when asked: that it ends, by force if need be, is no news.
  disown "$!"
}

# What Orca has said, one utterance a line (its voice settings left out).
said() {
  grep -a 'SPEECH OUTPUT:' "$speech" 2>/dev/null |
    sed "s/^.*SPEECH OUTPUT: '//; s/' *{.*}\$//; s/'\$//"
}
mark=0
said_since_mark() { said | tail -n +$((mark + 1)); }
# True once Orca has said these utterances since the mark, in this order (others between them).
said_in_order() {
  local i=0 line expected=("$@")
  while IFS= read -r line; do
    [ "$line" = "${expected[$i]}" ] && i=$((i + 1))
    [ "$i" -lt "${#expected[@]}" ] || return 0
  done < <(said_since_mark)
  return 1
}
# Sends the keys, then waits for Orca to say the expected utterances; with no keys, waits for
# what has been said since the last mark.
says() {  # description, keys (xdotool key names, blank-separated), expected utterances...
  local what="$1" keys="$2"
  shift 2
  if [ -n "$keys" ]; then
    mark=$(said | wc -l)
    # shellcheck disable=SC2086
    key $keys
  fi
  if wait_for $cap said_in_order "$@"; then
    pass "$what: $(printf '"%s" ' "$@")"
  else
    fail "$what: expected $(printf '"%s" ' "$@")in this order; Orca said:"
    said_since_mark | sed 's/^/    /'
  fi
}

results() {  # the five result texts: what Orca says after F5
  printf 'notification clearance  creatinina stimata %s. body mass index %s. peso ideale e scostamento %s. superficie corporea %s. stima massa magra %s.' "$@"
}
mapfile -t worked_example <"$(dirname "$expected_export")/worked_example_results.txt"
man=$(results "${worked_example[@]}")
woman=$(results 55,1 26,1 "65,8 (+21,5%)" 1,96 60,28)

wait_for $cap test -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ||
  fail "speech server started: $(cat "$work/speechd.out")"
wait_for $cap wm_ready || fail "openbox runs"
start_orca
if ! wait_for $cap grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$speech"; then
  fail "Orca started: $(cat "$work/orca.out")"
  finish screen_reader
  exit
fi

mark=$(said | wc -l)
if start; then
  says "the window opens in the first box" "" "creatinina text."
  type_text 1.2
  says "Tab" Tab "peso (kg) text."
  type_text 80
  says "Enter" Return "altezza (m) text."
  type_text 1.75
  says "Tab" Tab "età (anni) text."
  type_text 70
  says "Tab into the sex options" Tab "sesso panel." "maschio." "not selected radio button"
  says "Space picks maschio, then the button" space "notification maschio, selezionato." \
    "calcola (F5) push button."
  says "F5, no other key" F5 "$man"
  says "F5 again, the same numbers" F5 "$man"
  says "back to the sex options" shift+Tab "sesso panel." "maschio." "selected radio button"
  says "an arrow picks femmina, then the button" Right "notification femmina, selezionato." \
    "calcola (F5) push button."
  says "F5 for the woman" F5 "$woman"
  says "F8 empties the window, the focus in the first box" F8 "creatinina text."
  says "F5 refused" F5 "alert ristemo." "valore creatinina 0 mg/dl non accettabile..." \
    "OK push button."
  if said_since_mark | grep -q '^notification'; then
    fail "a refused calculation says only its message: $(said_since_mark | grep '^notification')"
  fi
  says "the message closed, back in the first box" Return "creatinina text."
else
  fail "window shown"
fi

[ -z "${E2E_KEEP:-}" ] || cp "$speech" "$E2E_KEEP"
finish screen_reader
