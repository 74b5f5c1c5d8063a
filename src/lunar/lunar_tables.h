// The lunar month tables, 1901-2049, and the lengths read from them.
//
// Month-length table: one 16-bit word per lunar year, read from the most
// significant bit down, one bit per month in calendar order, set for a month
// of 30 days and clear for 29. Without a leap month, month m is bit 16 - m.
// With a leap month after month L, months 1..L are bits 15..16-L, the leap
// month is bit 15-L and each month m after L is bit 15 - m. The low bits left
// over are 0.
//
// Leap-month table: one 4-bit value per year, two years to a byte, the even
// offset (year - 1901) in the high nibble: 0 for no leap month, else the
// number of the month the leap month follows.
#pragma once

#include <array>
#include <cstdint>

#include "lunar/lunar.h"

namespace qinghe::lunar {

inline constexpr int kLunarYearCount = kLastLunarYear - kFirstLunarYear + 1;  // 149
inline constexpr int kLeapTableBytes = (kLunarYearCount + 1) / 2;             // 75

extern const std::array<std::uint16_t, kLunarYearCount> kMonthLengthWords;
extern const std::array<std::uint8_t, kLeapTableBytes> kLeapMonthNibbles;

inline bool isLunarYear(int year) {
    return year >= kFirstLunarYear && year <= kLastLunarYear;
}

// The month the year's leap month follows (1..12), 0 when it has none or the
// year is outside the tables.
int leapMonthOf(int year);

// Days of lunar `year` (sum of all its months, the leap month included); 0
// outside the tables.
int lunarYearDays(int year);

// Days from lunar 1901-01-01 to the first day of lunar `year`, for years
// 1901..2050 (2050: the day after lunar 2049 ends).
long lunarYearStart(int year);

struct LunarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool isLeap = false;
};

// The lunar date `offset` days after lunar 1901-01-01; false when that lies
// outside the tables (offset < 0 or past the end of lunar 2049).
bool lunarDateAtOffset(long offset, LunarDate& date);

}  // namespace qinghe::lunar
