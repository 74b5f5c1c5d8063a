#include "lunar/solar_terms.h"

#include <array>

#include "common/gbk.h"

namespace qinghe::lunar {
namespace {

constexpr int kTermYearCount = kLastTermYear - kFirstTermYear + 1;
// Entries 1 and 2 (小寒, 大寒) come before 立春 in the count from 立春.
constexpr int kEntriesBeforeLichun = kLichunEntry - 1;

constexpr SolarTermMoment kTable[kTermYearCount][kTermsPerYear] = {
#include "lunar/solar_term_table.inc"
};

static_assert(sizeof(SolarTermMoment) == 5, "one table entry is five bytes");

}  // namespace

const SolarTermMoment& solarTermMoment(int year, int entry) {
    return kTable[year - kFirstTermYear][entry - 1];
}

int solarTermEntryOfDay(int year, int month, int day) {
    if (!isTermYear(year)) return 0;
    const auto& row = kTable[year - kFirstTermYear];
    for (int e = 0; e < kTermsPerYear; ++e) {
        if (row[e].month == month && row[e].day == day) return e + 1;
        if (row[e].month > month) break;
    }
    return 0;
}

int termNumberOfEntry(int entry) {
    return entry > kEntriesBeforeLichun ? entry - kEntriesBeforeLichun
                                        : entry + kTermsPerYear - kEntriesBeforeLichun;
}

const std::string& solarTermName(int entry) {
    using namespace literals;
    static const std::array<std::string, kTermsPerYear> kNames = {
        "小寒"_gbk, "大寒"_gbk, "立春"_gbk, "雨水"_gbk, "惊蛰"_gbk, "春分"_gbk,
        "清明"_gbk, "谷雨"_gbk, "立夏"_gbk, "小满"_gbk, "芒种"_gbk, "夏至"_gbk,
        "小暑"_gbk, "大暑"_gbk, "立秋"_gbk, "处暑"_gbk, "白露"_gbk, "秋分"_gbk,
        "寒露"_gbk, "霜降"_gbk, "立冬"_gbk, "小雪"_gbk, "大雪"_gbk, "冬至"_gbk,
    };
    return kNames[static_cast<std::size_t>(entry - 1)];
}

}  // namespace qinghe::lunar
