#include "lunar/lunar_tables.h"

namespace qinghe::lunar {

constexpr std::array<std::uint16_t, kLunarYearCount> kMonthLengthWords = {
    0x4AE0, 0xA570, 0x5268, 0xD260, 0xD950, 0x6AA8, 0x56A0, 0x9AD0, 0x4AE8, 0x4AE0,  // 1901-1910
    0xA4D8, 0xA4D0, 0xD250, 0xD548, 0xB540, 0xD6A0, 0x96D0, 0x95B0, 0x49B8, 0x4970,  // 1911-1920
    0xA4B0, 0xB258, 0x6A50, 0x6D40, 0xADA8, 0x2B60, 0x9570, 0x4978, 0x4970, 0x64B0,  // 1921-1930
    0xD4A0, 0xEA50, 0x6D48, 0x5AD0, 0x2B60, 0x9370, 0x92E0, 0xC968, 0xC950, 0xD4A0,  // 1931-1940
    0xDA50, 0xB550, 0x56A0, 0xAAD8, 0x25D0, 0x92D0, 0xC958, 0xA950, 0xB4A8, 0x6CA0,  // 1941-1950
    0xB550, 0x55A8, 0x4DA0, 0xA5B0, 0x52B8, 0x52B0, 0xA950, 0xE950, 0x6AA0, 0xAD50,  // 1951-1960
    0xAB50, 0x4B60, 0xA570, 0xA570, 0x5260, 0xE930, 0xD950, 0x5AA8, 0x56A0, 0x96D0,  // 1961-1970
    0x4AE8, 0x4AD0, 0xA4D0, 0xD268, 0xD250, 0xD528, 0xB540, 0xB6A0, 0x96D0, 0x95B0,  // 1971-1980
    0x49B0, 0xA4B8, 0xA4B0, 0xB258, 0x6A50, 0x6D40, 0xADA0, 0xAB60, 0x9570, 0x4978,  // 1981-1990
    0x4970, 0x64B0, 0x6A50, 0xEA50, 0x6B28, 0x5AC0, 0xAB60, 0x9368, 0x92E0, 0xC960,  // 1991-2000
    0xD4A8, 0xD4A0, 0xDA50, 0x5AA8, 0x56A0, 0xAAD8, 0x25D0, 0x92D0, 0xC958, 0xA950,  // 2001-2010
    0xB4A0, 0xB550, 0xAD50, 0x55A8, 0x4BA0, 0xA5B0, 0x52B8, 0x52B0, 0xA930, 0x74A8,  // 2011-2020
    0x6AA0, 0xAD50, 0x4DA8, 0x4B60, 0xA570, 0xA4E0, 0xD260, 0xE930, 0xD530, 0x5AA0,  // 2021-2030
    0x6B50, 0x96D0, 0x4AE8, 0x4AD0, 0xA4D0, 0xD258, 0xD250, 0xD520, 0xDAA0, 0xB5A0,  // 2031-2040
    0x56D0, 0x4AD8, 0x49B0, 0xA4B8, 0xA4B0, 0xAA50, 0xB528, 0x6D20, 0xADA0,          // 2041-2049
};

constexpr std::array<std::uint8_t, kLeapTableBytes> kLeapMonthNibbles = {
    0x00, 0x50, 0x04, 0x00, 0x20,  // 1901-1910
    0x60, 0x05, 0x00, 0x20, 0x70,  // 1911-1920
    0x05, 0x00, 0x40, 0x02, 0x06,  // 1921-1930
    0x00, 0x50, 0x03, 0x07, 0x00,  // 1931-1940
    0x60, 0x04, 0x00, 0x20, 0x70,  // 1941-1950
    0x05, 0x00, 0x30, 0x80, 0x06,  // 1951-1960
    0x00, 0x40, 0x03, 0x07, 0x00,  // 1961-1970
    0x50, 0x04, 0x08, 0x00, 0x60,  // 1971-1980
    0x04, 0x0A, 0x00, 0x60, 0x05,  // 1981-1990
    0x00, 0x30, 0x80, 0x05, 0x00,  // 1991-2000
    0x40, 0x02, 0x07, 0x00, 0x50,  // 2001-2010
    0x04, 0x09, 0x00, 0x60, 0x04,  // 2011-2020
    0x00, 0x20, 0x60, 0x05, 0x00,  // 2021-2030
    0x30, 0xB0, 0x06, 0x00, 0x50,  // 2031-2040
    0x02, 0x07, 0x00, 0x50, 0x00,  // 2041-2049 (the last low nibble is unused)
};

namespace {

constexpr int kLongMonthDays = 30;
constexpr int kShortMonthDays = 29;
constexpr int kMonthsPerYear = 12;
constexpr int kWordBits = 16;

constexpr int leapMonthAt(int offset) {
    std::uint8_t packed = kLeapMonthNibbles[static_cast<std::size_t>(offset / 2)];
    return offset % 2 == 0 ? packed >> 4 : packed & 0x0F;
}

constexpr int bitDays(int offset, int bit) {
    return (kMonthLengthWords[static_cast<std::size_t>(offset)] >> bit) & 1 ? kLongMonthDays
                                                                            : kShortMonthDays;
}

// Lengths of the months of the year at `offset`, in calendar order.
constexpr int ordinaryDays(int offset, int month) {
    int leap = leapMonthAt(offset);
    return bitDays(offset, leap == 0 || month <= leap ? kWordBits - month : kWordBits - 1 - month);
}

constexpr int leapDays(int offset) {
    int leap = leapMonthAt(offset);
    return leap == 0 ? 0 : bitDays(offset, kWordBits - 1 - leap);
}

constexpr int yearDaysAt(int offset) {
    int total = leapDays(offset);
    for (int m = 1; m <= kMonthsPerYear; ++m) total += ordinaryDays(offset, m);
    return total;
}

constexpr std::array<long, kLunarYearCount + 1> kYearStarts = [] {
    std::array<long, kLunarYearCount + 1> starts{};
    for (int i = 0; i < kLunarYearCount; ++i) {
        starts[static_cast<std::size_t>(i) + 1] =
            starts[static_cast<std::size_t>(i)] + yearDaysAt(i);
    }
    return starts;
}();

// Where each month of a year begins, in days from the year's first day, in
// calendar order with the leap month after the month it follows; the entry
// after the last month is the year's length.
struct YearLayout {
    int leap = 0;
    int months = 0;
    std::array<int, kMonthsPerYear + 2> monthStarts{};
};

constexpr std::array<YearLayout, kLunarYearCount> kLayouts = [] {
    std::array<YearLayout, kLunarYearCount> layouts{};
    for (int i = 0; i < kLunarYearCount; ++i) {
        YearLayout& y = layouts[static_cast<std::size_t>(i)];
        y.leap = leapMonthAt(i);
        int at = 0;
        for (int m = 1; m <= kMonthsPerYear; ++m) {
            y.monthStarts[static_cast<std::size_t>(y.months++)] = at;
            at += ordinaryDays(i, m);
            if (m == y.leap) {
                y.monthStarts[static_cast<std::size_t>(y.months++)] = at;
                at += leapDays(i);
            }
        }
        y.monthStarts[static_cast<std::size_t>(y.months)] = at;
    }
    return layouts;
}();

// Mean length of a lunar year in days, for a first guess of the year.
constexpr long kMeanYearDaysTimes100 = 36524;

}  // namespace

bool lunarDateAtOffset(long offset, LunarDate& date) {
    if (offset < 0 || offset >= kYearStarts.back()) return false;
    std::size_t i = static_cast<std::size_t>(offset * 100 / kMeanYearDaysTimes100);
    if (i >= kLunarYearCount) i = kLunarYearCount - 1;
    while (kYearStarts[i] > offset) --i;
    while (kYearStarts[i + 1] <= offset) ++i;
    const YearLayout& y = kLayouts[i];
    int inYear = static_cast<int>(offset - kYearStarts[i]);
    std::size_t k = 0;
    while (y.monthStarts[k + 1] <= inYear) ++k;
    int index = static_cast<int>(k) + 1;  // 1-based position in calendar order
    date.year = kFirstLunarYear + static_cast<int>(i);
    date.isLeap = y.leap != 0 && index == y.leap + 1;
    date.month = y.leap != 0 && index > y.leap ? index - 1 : index;
    date.day = inYear - y.monthStarts[k] + 1;
    return true;
}

int leapMonthOf(int year) {
    return isLunarYear(year) ? leapMonthAt(year - kFirstLunarYear) : 0;
}

int lunarYearDays(int year) {
    return isLunarYear(year) ? yearDaysAt(year - kFirstLunarYear) : 0;
}

long lunarYearStart(int year) {
    if (year < kFirstLunarYear) return 0;
    if (year > kLastLunarYear + 1) return kYearStarts.back();
    return kYearStarts[static_cast<std::size_t>(year - kFirstLunarYear)];
}

int lunarMonthDays(int year, int month, bool isLeap) {
    if (!isLunarYear(year) || month < 1 || month > kMonthsPerYear) return 0;
    int offset = year - kFirstLunarYear;
    if (!isLeap) return ordinaryDays(offset, month);
    return leapMonthAt(offset) == month ? leapDays(offset) : 0;
}

}  // namespace qinghe::lunar
