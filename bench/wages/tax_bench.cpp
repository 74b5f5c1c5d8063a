// December's income tax under the current rules, from a full year's twelve
// pay record rows of two employers (the first to June, the second from July)
// with a year-end bonus in December taxed on its own (the law looked up, the
// second employer's earlier months summed, the months employed counted, the
// annual table and the bonus's bracket applied), against its peer: the seed
// rules' monthly tax (incomeTax, rounded to the fen) plus one pass over the
// same twelve rows. Prints how many times the peer's time ours takes; the
// goal is at most 1.2.
//
//   cmake -S . -B build -DQINGHE_BENCH=ON && cmake --build build --target tax_bench
//   build/bench/wages/tax_bench
#include <benchmark/benchmark.h>

#include <vector>

#include "../ratio_reporter.h"
#include "wages/conversions.h"
#include "wages/income_tax.h"
#include "wages/tax_law.h"
#include "wages/withholding.h"

namespace {

using namespace qinghe::wages;

constexpr int kDecember = 12;
constexpr int kNewEmployerMonth = 7;

std::vector<PaidMonth> fullYear() {
    std::vector<PaidMonth> rows;
    for (int m = 1; m <= kDecember; ++m) {
        const Fen bonus = m == kDecember ? 36000'00 : 0;
        const int employer = m < kNewEmployerMonth ? 0 : 1;
        rows.push_back({m,
                        {30000'00 + m * 1'37, 4500'00, 2000'00, 0},
                        1850'00,
                        bonus,
                        BonusTaxing::Separate,
                        employer});
    }
    return rows;
}

void BM_CurrentDecemberTax(benchmark::State& state) {
    const std::vector<PaidMonth> rows = fullYear();
    const PaidMonth december = rows.back();
    const EmployerTerms terms;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rows.data());
        const Withholding w =
            monthWithholding(incomeTaxLaw(2026, kDecember), december, rows, terms);
        benchmark::DoNotOptimize(w.withholding);
        benchmark::DoNotOptimize(w.bonusTax.tax);
    }
}
BENCHMARK(BM_CurrentDecemberTax);

void BM_SeedTaxPlusOnePass(benchmark::State& state) {
    const std::vector<PaidMonth> rows = fullYear();
    const PaidMonth december = rows.back();
    for (auto _ : state) {
        benchmark::DoNotOptimize(rows.data());
        // The pass reads what the cumulative method reads of each row.
        MonthIncome sum;
        Fen withheld = 0;
        for (const PaidMonth& row : rows) {
            if (row.employer != december.employer) continue;
            sum.gross +=
                row.income.gross + (row.bonusTaxing == BonusTaxing::Merged ? row.bonus : 0);
            sum.special += row.income.special;
            sum.specialAdditional += row.income.specialAdditional;
            sum.other += row.income.other;
            withheld += row.withheld;
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(withheld);
        const double tax =
            roundHalfAway(incomeTax(static_cast<double>(december.income.gross) / 100,
                                    static_cast<double>(december.income.special) / 100),
                          2);
        benchmark::DoNotOptimize(tax);
    }
}
BENCHMARK(BM_SeedTaxPlusOnePass);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(
        "BM_CurrentDecemberTax", "BM_SeedTaxPlusOnePass",
        "December's cumulative tax: ", "x the seed tax plus one pass over the rows");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
