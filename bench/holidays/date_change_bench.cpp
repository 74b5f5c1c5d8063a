// The date-change routine's own work (the preset of the picked day and the
// captions of its month: limits, holidays, arrangements) for a day in each
// month of 2000-2048, under 现行规则 against the same under 原版规则, and
// the ratio of the two times. The window's part (writing the captions into
// its controls) is the same under both rules and is left out. The announced
// arrangements are read before, as the window holds them.
//
//   cmake -S . -B build -DQINGHE_BENCH=ON && cmake --build build --target date_change_bench
//   build/bench/holidays/date_change_bench
#include <benchmark/benchmark.h>

#include "../ratio_reporter.h"
#include "common/datetime.h"
#include "wages/date_change.h"

namespace {

using namespace qinghe;

constexpr int kFirstYear = 2000, kLastYear = 2048;

void runDateChanges(benchmark::State& state, wages::Rules rules) {
    const wages::DayRules dayRules{rules, &wages::Arrangements::builtIn()};
    long months = 0;
    for (auto _ : state) {
        months = 0;
        for (int y = kFirstYear; y <= kLastYear; ++y) {
            for (int m = 1; m <= 12; ++m) {
                const DateTime picked = makeDate(y, m, 1 + (y + m) % 28);
                benchmark::DoNotOptimize(wages::dayEntryPreset(picked, dayRules));
                benchmark::DoNotOptimize(
                    wages::dateChangeCaptions(picked, "5", {"12", "16", "8"}, dayRules));
                ++months;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * months);
}

void BM_DateChangeSeed(benchmark::State& state) {
    runDateChanges(state, wages::Rules::Seed);
}
BENCHMARK(BM_DateChangeSeed)->Unit(benchmark::kMillisecond);

void BM_DateChangeCurrent(benchmark::State& state) {
    runDateChanges(state, wages::Rules::Current);
}
BENCHMARK(BM_DateChangeCurrent)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter("BM_DateChangeCurrent", "BM_DateChangeSeed",
                           "date change under 现行规则 / under 原版规则: ", " (goal <= 1.5)");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
