#!/usr/bin/env bash
# Fails when a front-end folder types a text, a font size, a position or size in twips or a
# colour of the window's design itself instead of reading it from form/form1_design: a value
# fixed there must reach every window.
# Usage: no_design_in_front_end.sh ROOT FOLDER...
set -euo pipefail
root="$1"
shift
design=("$root/form/form1_design.cpp" "$root/form/form1_design.h")
status=0
# Includes and comments may name what they like; only code files count (not resources).
found() {  # grep options and pattern
  (cd "$root" && grep -rn --include='*.cpp' --include='*.h' "$@" "${folders[@]}") |
    grep -vE '^[^:]+:[0-9]+:\s*(#|//)'
}
report() {  # what, hits
  echo "written in the front-end, not read from the design: $1"
  echo "$2"
  status=1
}
folders=("$@")
while IFS= read -r text; do
  if hits=$(found -F -- "$text"); then report "$text" "$hits"; fi
done < <(grep -hoE '"[^"]{3,}"|[0-9]+\.[0-9]+' "${design[@]}" | sort -u)
# Twips: numbers below 256 are as likely a character code or a colour component.
while IFS= read -r twips; do
  if hits=$(found -w -- "$twips"); then report "$twips" "$hits"; fi
done < <(grep -hoE '\b[0-9]{3,}\b' "${design[@]}" | awk '$1 > 255' | sort -u)
# Colours, black aside: nothing tells it from a row of zeros.
while IFS= read -r rgb; do
  pattern=$(echo "$rgb" | tr -d '{}' | sed -E 's/, /,\\s*/g')
  if hits=$(found -E -- "\\b$pattern\\b"); then report "$rgb" "$hits"; fi
done < <(grep -hoE '\{[0-9]+, [0-9]+, [0-9]+\}' "${design[@]}" | grep -v '{0, 0, 0}' | sort -u)
[ "$status" = 0 ] && echo "no design values in: $*"
exit "$status"
