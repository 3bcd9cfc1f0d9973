// One patient through the check, the computation and the five label texts.
#include <benchmark/benchmark.h>

#include "core/calculation.h"

namespace {

using namespace ristemo::core;

void BM_CheckAndCompute(benchmark::State& state) {
    const std::array<std::string, 4> texts = {"1,2", "80", "70", "1,75"};
    const std::array<bool, 2> options = {true, false};
    PatientRecord record;
    for (auto _ : state) {
        Calculation c = check_and_calculate(texts, options, record);
        benchmark::DoNotOptimize(c.results.label3);
    }
}
BENCHMARK(BM_CheckAndCompute);

}  // namespace

BENCHMARK_MAIN();
