// The solar-term table: for each Gregorian year 1880-2079, the moments of its
// 24 solar terms in China Standard Time (UTC+8), to the second, in date
// order. Entry 1 is 小寒 and entry 24 冬至; 立春 is entry 3.
//
// The data is generated (solar_term_table.inc, by tools/solarterms) from the
// Sun's apparent longitude; see that tool's README for the method.
#pragma once

#include <cstdint>
#include <string>

namespace qinghe::lunar {

inline constexpr int kFirstTermYear = 1880;
inline constexpr int kLastTermYear = 2079;
inline constexpr int kTermsPerYear = 24;
inline constexpr int kLichunEntry = 3;  // 立春

// One entry of the table: 5 bytes.
struct SolarTermMoment {
    std::uint8_t month, day, hour, minute, second;
};

inline bool isTermYear(int year) {
    return year >= kFirstTermYear && year <= kLastTermYear;
}

// Entry `entry` (1..24) of `year` (1880..2079); the caller checks the range.
const SolarTermMoment& solarTermMoment(int year, int entry);

// The entry (1..24) whose day is Gregorian year-month-day, 0 when no term
// falls on it or the year is outside 1880..2079. Scans the year's entries in
// order and stops at the first one whose month is past `month`.
int solarTermEntryOfDay(int year, int month, int day);

// The term's number counted from 立春 (entries 3..24 give 1..22, entry 1
// gives 23 and entry 2 gives 24), from an entry number 1..24.
int termNumberOfEntry(int entry);

// The name of entry 1..24 (GBK), as 小寒.
const std::string& solarTermName(int entry);

}  // namespace qinghe::lunar
