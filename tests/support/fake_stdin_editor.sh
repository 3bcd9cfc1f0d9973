#!/bin/sh
# Stands in for an editor that reads its text from standard input. Records, under the prefix
# $FAKE_EDITOR_RECORD: .args (the name it was called by and its arguments, one a line), .pid
# (its pid) and .stdin (what it received, byte for byte, renamed into place once complete).
# Then lingers for $FAKE_EDITOR_LINGER seconds so that tests can look at the running process.
# Tests give it a PATH holding only fakes, hence the absolute paths.
record="${FAKE_EDITOR_RECORD:?}"
{
  printf '%s\n' "${0##*/}"
  for a in "$@"; do printf '%s\n' "$a"; done
} > "$record.args"
printf '%s\n' "$$" > "$record.pid"
printf '%s\n' "${TMPDIR-}" > "$record.tmpdir"
/bin/cat > "$record.stdin.part"
/bin/mv "$record.stdin.part" "$record.stdin"
exec /bin/sleep "${FAKE_EDITOR_LINGER:-0}"
