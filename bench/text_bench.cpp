// The model loader converts every number of its files through these rules.
#include "core/replace.h"
#include "core/text.h"

#include <benchmark/benchmark.h>

static void ConvertModelNumber(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(CDbl(RemplaceCar("-12.345678", ".", ".")));
}
BENCHMARK(ConvertModelNumber);
