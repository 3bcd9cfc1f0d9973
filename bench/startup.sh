#!/usr/bin/env bash
# Start-up time (process start to window mapped) and resident memory once idle, for ristemo and
# for an empty Qt Widgets window built the same way, under Xvfb. Prints medians and ratios.
# Usage: bench/startup.sh [RUNS]   (builds Release in build/release first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs="${1:-15}"
build="$root/build/release"

"$root/scripts/install-deps"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRISTEMO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target ristemo bench_empty_window bench_map_timer >/dev/null

measure() {  # name, command...
  local name="$1"
  shift
  local times=() mems=()
  for _ in $(seq "$runs"); do
    read -r ms kib < <("$build/bench/bench_map_timer" 1000 "$@")
    times+=("$ms")
    mems+=("$kib")
  done
  median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
  echo "$name $(median "${times[@]}") $(median "${mems[@]}")"
}

run_all() {
  export LC_NUMERIC=it_IT.UTF-8 QT_QPA_PLATFORM=xcb
  measure empty "$build/bench/bench_empty_window"
  measure ristemo "$build/ui/ristemo"
}

if [ -z "${DISPLAY:-}" ]; then
  results=$(xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$(declare -f measure run_all); build='$build' runs='$runs' run_all")
else
  results=$(run_all)
fi
echo "$results" | awk '
  {name[NR]=$1; ms[NR]=$2; kib[NR]=$3}
  END {
    printf "%-8s %12s %12s\n", "", "start-up ms", "memory KiB"
    for (i = 1; i <= NR; i++) printf "%-8s %12.1f %12d\n", name[i], ms[i], kib[i]
    printf "%-8s %12.2f %12.2f\n", "ratio", ms[2] / ms[1], kib[2] / kib[1]
  }'
