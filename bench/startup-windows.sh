#!/usr/bin/env bash
# Start-up of the Windows program under Wine (process start to window mapped), for ristemo.exe
# and for an empty Win32 window built the same way, under Xvfb with Wine fully warm: its server,
# and its desktop process, which another window keeps running (as Windows' own desktop always
# runs; otherwise each program would start it anew). Prints medians and their ratio, and the
# median of that window with one line of text (what any text costs). Most of each is Wine's own
# start.
# Usage: bench/startup-windows.sh [RUNS]   (builds build/windows first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs="${1:-15}"
build="$root/build/windows"

"$root/scripts/install-deps" compiler windows
(cd "$root" && cmake --preset windows >/dev/null)
cmake --build "$build" -j"$(nproc)" --target ristemo bench_empty_window_win32 \
  bench_text_window_win32 >/dev/null
c++ -std=c++17 -O2 -o "$build/map_timer" "$root/bench/map_timer.cpp" -lX11

run_all() {
  local wine_run="$root/cmake/wine-run" prefix="$build/wine-bench"
  export LC_ALL=it_IT.UTF-8
  "$wine_run" "$prefix" "$build/bench/bench_empty_window_win32.exe" &
  local keeper=$!
  until xdotool search --name '^empty$' >/dev/null; do sleep 0.1; done
  for _ in $(seq "$runs"); do
    echo "empty $("$build/map_timer" 300 "$wine_run" "$prefix" "$build/bench/bench_empty_window_win32.exe")"
    echo "text $("$build/map_timer" 300 "$wine_run" "$prefix" "$build/bench/bench_text_window_win32.exe")"
    echo "ristemo $("$build/map_timer" 300 "$wine_run" "$prefix" "$build/ristemo.exe")"
  done
  kill "$keeper"
  WINEPREFIX="$prefix" wineserver -k
}
samples=$("$root/tests/support/with_xvfb" bash -c "$(declare -f run_all); root='$root' build='$build' runs='$runs' run_all")
median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
empty=$(awk '$1 == "empty" {print $2}' <<<"$samples" | median)
text=$(awk '$1 == "text" {print $2}' <<<"$samples" | median)
ristemo=$(awk '$1 == "ristemo" {print $2}' <<<"$samples" | median)
ratio() { awk -v a="$1" -v b="$empty" 'BEGIN {printf "%.2f", a / b}'; }
echo "median of $runs runs: empty window $empty ms, ristemo $ristemo ms, ratio $(ratio "$ristemo")x;" \
  "one line of text $text ms, $(ratio "$text")x"
echo "ristemo.exe: $(stat -c %s "$build/ristemo.exe") bytes"
