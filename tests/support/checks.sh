# Checks for the test scripts, which source this file: each check prints ok or FAIL and counts
# the failures; the script ends with the count.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() {  # description, command...: passes or fails on the command's status
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
wait_for() {  # seconds, command...: true once the command succeeds
  local until=$((SECONDS + $1))
  shift
  while [ "$SECONDS" -lt "$until" ]; do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
