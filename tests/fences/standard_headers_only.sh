#!/usr/bin/env bash
# Fails when core/, report/, form/ or the platform interfaces include a header that is not the C++
# standard library's: they must build for every system as they are.
set -euo pipefail
root="$1"
standard=(algorithm any array atomic bitset cassert cctype cerrno cfloat charconv chrono cinttypes
  climits clocale cmath condition_variable cstddef cstdint cstdio cstdlib cstring ctime deque
  exception filesystem functional initializer_list iomanip ios iosfwd iostream istream iterator
  limits list locale map memory mutex new numeric optional ostream queue random ratio regex set
  sstream stack stdexcept string string_view system_error thread tuple type_traits typeinfo
  unordered_map unordered_set utility variant vector)
known=" ${standard[*]} "
status=0
while IFS= read -r line; do
  header=$(sed -E 's/.*#\s*include\s*<([^>]+)>.*/\1/' <<<"$line")
  if [[ "$known" != *" $header "* ]]; then
    echo "not a standard header: $line"
    status=1
  fi
done < <(cd "$root" && grep -nE '^\s*#\s*include\s*<' core/*.h core/*.cpp report/*.h report/*.cpp \
  form/*.h form/*.cpp platform/*.h)
[ "$status" = 0 ] && echo "only standard headers"
exit "$status"
