#!/usr/bin/env bash
# Fails when a front-end folder types a text or a font size of the window's design itself
# instead of reading it from form/form1_design: a caption fixed there must reach every window.
set -euo pipefail
root="$1"
shift
status=0
while IFS= read -r text; do
  # Includes and comments may name what they like.
  if hits=$(cd "$root" && grep -rnF -- "$text" "$@" | grep -vE '^[^:]+:[0-9]+:\s*(#|//)'); then
    echo "written in the front-end, not read from the design: $text"
    echo "$hits"
    status=1
  fi
done < <(grep -oE '"[^"]{3,}"|[0-9]+\.[0-9]+' "$root/form/form1_design.cpp" "$root/form/form1_design.h" | cut -d: -f2- | sort -u)
[ "$status" = 0 ] && echo "no design texts in: $*"
exit "$status"
