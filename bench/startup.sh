#!/usr/bin/env bash
# Start-up time (process start to window mapped) and resident memory once idle, for ristemo and
# for an empty Qt Widgets window built the same way, under Xvfb. Prints medians and ratios.
# A third program, the empty window with one line of text, shows how much of the difference is
# the price of showing text at all (fonts), which the empty window never pays.
# Usage: bench/startup.sh [RUNS]   (builds Release in build/startup first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs="${1:-15}"
build="$root/build/startup"

"$root/scripts/install-deps" compiler qt libbenchmark-dev
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRISTEMO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" \
  --target ristemo bench_empty_window bench_text_window bench_map_timer >/dev/null

# The programs take turns run after run, so a slow spell on a shared machine hits all of them.
run_all() {
  export LC_NUMERIC=it_IT.UTF-8 QT_QPA_PLATFORM=xcb
  local names=(empty text ristemo)
  local programs=("$build/bench/bench_empty_window" "$build/bench/bench_text_window"
                  "$build/ui/qt/ristemo")
  for _ in $(seq "$runs"); do
    for i in "${!names[@]}"; do
      echo "${names[$i]} $("$build/bench/bench_map_timer" 1000 "${programs[$i]}")"
    done
  done
}

if [ -z "${DISPLAY:-}" ]; then
  samples=$(xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$(declare -f run_all); build='$build' runs='$runs' run_all")
else
  samples=$(run_all)
fi
median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
results=$(for name in empty text ristemo; do
  echo "$name $(echo "$samples" | awk -v n="$name" '$1 == n {print $2}' | median)" \
    "$(echo "$samples" | awk -v n="$name" '$1 == n {print $3}' | median)"
done)
echo "$results" | awk -v runs="$runs" '
  {ms[$1]=$2; kib[$1]=$3}
  END {
    printf "medians of %d runs  %12s %12s\n", runs, "start-up ms", "memory KiB"
    split("empty text ristemo", order, " ")
    for (i = 1; i <= 3; i++) printf "%-19s %12.1f %12d\n", order[i], ms[order[i]], kib[order[i]]
    printf "%-19s %12.2f %12.2f\n", "ratio", ms["ristemo"] / ms["empty"], kib["ristemo"] / kib["empty"]
    printf "%-19s %12.2f %12.2f\n", "ratio to text", ms["ristemo"] / ms["text"], kib["ristemo"] / kib["text"]
  }'
