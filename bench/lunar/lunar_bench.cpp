// Converts every day of the lunar calendar's valid range (1901-02-19 ..
// 2048-12-31) to its lunar date, with qinghe_lunar and with ICU's Chinese
// calendar, finds the statutory holidays of every month 1901-2048 (a lunar
// conversion, month length and solar-term search for each day), and prints
// how many times ICU's rate of converting days each of ours reaches. ICU's dates are
// checked against ours on the way; the number of days on which the two
// calendars differ is printed too (ICU computes the calendar astronomically,
// the tables follow the published calendar).
//
//   cmake -S . -B build -DQINGHE_BENCH=ON && cmake --build build --target lunar_bench
//   build/bench/lunar/lunar_bench
#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "common/datetime.h"
#include "lunar/lunar.h"
#include "wages/holidays.h"

namespace {

using namespace qinghe;

constexpr double kMillisecondsPerDay = 86400000.0;
constexpr long kUnixEpochDay = 25569;  // 1970-01-01 as a DateTime day
constexpr double kChinaOffsetMs = 8 * 3600000.0;

long firstDay() {
    return daysFromCivil(1901, 2, 19);
}
long lastDay() {
    return daysFromCivil(2048, 12, 31);
}

struct LunarFields {
    int year = 0, month = 0, day = 0;
    bool leap = false;
};

void BM_QingheLunarFromDate(benchmark::State& state) {
    for (auto _ : state) {
        for (long d = firstDay(); d <= lastDay(); ++d) {
            LunarFields f;
            lunar::lunarFromDate(static_cast<DateTime>(d), f.year, f.month, f.day, f.leap);
            benchmark::DoNotOptimize(f);
        }
    }
    state.SetItemsProcessed(state.iterations() * (lastDay() - firstDay() + 1));
}
BENCHMARK(BM_QingheLunarFromDate)->Unit(benchmark::kMillisecond);

// The holidays of every month 1901-2048: each converts every day of its month.
void BM_QingheMonthHolidays(benchmark::State& state) {
    long days = 0;
    for (auto _ : state) {
        days = 0;
        for (int y = 1901; y <= 2048; ++y) {
            for (int m = 1; m <= 12; ++m) {
                benchmark::DoNotOptimize(wages::findMonthHolidays(makeDate(y, m, 1)));
                days += daysInMonth(y, m);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * days);
}
BENCHMARK(BM_QingheMonthHolidays)->Unit(benchmark::kMillisecond);

std::unique_ptr<icu::Calendar> icuChineseCalendar() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone("GMT+08:00"));
    std::unique_ptr<icu::Calendar> cal(icu::Calendar::createInstance(
        zone.release(), icu::Locale("zh_CN@calendar=chinese"), status));
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "ICU: no Chinese calendar (%s)\n", u_errorName(status));
        std::exit(1);
    }
    return cal;
}

LunarFields icuLunar(icu::Calendar& cal, long day) {
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(static_cast<double>(day - kUnixEpochDay) * kMillisecondsPerDay - kChinaOffsetMs,
                status);
    LunarFields f;
    f.month = cal.get(UCAL_MONTH, status) + 1;
    f.day = cal.get(UCAL_DATE, status);
    f.leap = cal.get(UCAL_IS_LEAP_MONTH, status) != 0;
    // ICU counts years from 2637 BCE; the Gregorian year in which the lunar
    // year begins is what the tables call the lunar year.
    f.year = cal.get(UCAL_EXTENDED_YEAR, status) - 2637;
    return f;
}

void BM_IcuChineseCalendar(benchmark::State& state) {
    auto cal = icuChineseCalendar();
    for (auto _ : state) {
        for (long d = firstDay(); d <= lastDay(); ++d) benchmark::DoNotOptimize(icuLunar(*cal, d));
    }
    state.SetItemsProcessed(state.iterations() * (lastDay() - firstDay() + 1));
}
BENCHMARK(BM_IcuChineseCalendar)->Unit(benchmark::kMillisecond);

void countDisagreements() {
    auto cal = icuChineseCalendar();
    long differing = 0;
    for (long d = firstDay(); d <= lastDay(); ++d) {
        LunarFields ours, icu = icuLunar(*cal, d);
        lunar::lunarFromDate(static_cast<DateTime>(d), ours.year, ours.month, ours.day, ours.leap);
        if (ours.year != icu.year || ours.month != icu.month || ours.day != icu.day ||
            ours.leap != icu.leap) {
            ++differing;
        }
    }
    std::printf("days on which ICU's Chinese calendar differs from ours: %ld of %ld\n", differing,
                lastDay() - firstDay() + 1);
}

// Prints the ratio of each of our rates to ICU's after the usual console report.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            auto it = run.counters.find("items_per_second");
            if (it != run.counters.end()) rates_[run.benchmark_name()] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        double icu = rates_["BM_IcuChineseCalendar"];
        if (icu <= 0) return;
        std::printf("ICU Chinese calendar: %.3g days/s\n", icu);
        for (const char* name : {"BM_QingheLunarFromDate", "BM_QingheMonthHolidays"}) {
            double ours = rates_[name];
            std::printf("%s: %.3g days/s, %.1fx ICU's rate\n", name, ours, ours / icu);
        }
    }

  private:
    std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    countDisagreements();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
