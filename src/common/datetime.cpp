#include "common/datetime.h"

#include <cmath>

#include "common/gbk.h"

namespace qinghe {
namespace {

constexpr long kSecondsPerDay = 86400;
// Day number of 1970-01-01 in the civil-day count below, minus that of 1899-12-30.
constexpr long kEpochShift = 25569;

struct Split {
    long day;
    long second;  // 0 .. 86399
};

// Values beyond this many days (about 270,000 years) are held at it, so that
// the day count always fits the integer arithmetic below.
constexpr double kDayLimit = 1e8;

// Whole day and second of the day, rounding the time to the nearest second.
// Total: NaN counts as 0 and infinities as the day limit.
Split split(DateTime value) {
    if (std::isnan(value)) value = 0.0;
    if (value > kDayLimit) value = kDayLimit;
    if (value < -kDayLimit) value = -kDayLimit;
    double whole = std::trunc(value);
    double fraction = std::fabs(value - whole);
    long second = std::lround(fraction * kSecondsPerDay);
    long day = static_cast<long>(whole);
    if (second >= kSecondsPerDay) {
        second -= kSecondsPerDay;
        day += 1;
    }
    return {day, second};
}

// A Gregorian leap year: divisible by 4 and not by 100, or by 400.
bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from civil after H. Hinnant's public-domain algorithm, shifted so that
// 1899-12-30 is day 0.
long daysFromCivil(int year, int month, int day) {
    long y = year - (month <= 2 ? 1 : 0);
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long m = month;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + kEpochShift;
}

CivilDate civilFromDays(long days) {
    long z = days - kEpochShift + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long d = doy - (153 * mp + 2) / 5 + 1;
    long m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(m <= 2 ? y + 1 : y), static_cast<int>(m), static_cast<int>(d)};
}

CivilDate dateOf(DateTime value) {
    return civilFromDays(split(value).day);
}

TimeOfDay timeOf(DateTime value) {
    long s = split(value).second;
    return {static_cast<int>(s / 3600), static_cast<int>(s / 60 % 60), static_cast<int>(s % 60)};
}

int yearOf(DateTime value) {
    return dateOf(value).year;
}
int monthOf(DateTime value) {
    return dateOf(value).month;
}
int dayOf(DateTime value) {
    return dateOf(value).day;
}

int weekdayOf(DateTime value) {
    // Day 0 (1899-12-30) was a Saturday (7).
    long r = (split(value).day + 6) % 7;
    if (r < 0) r += 7;
    return static_cast<int>(r) + 1;
}

DateTime makeDate(int year, int month, int day) {
    return static_cast<DateTime>(daysFromCivil(year, month, day));
}

DateTime makeDateTime(int year, int month, int day, int hour, int minute, int second) {
    long days = daysFromCivil(year, month, day);
    double fraction = static_cast<double>(hour * 3600L + minute * 60L + second) / kSecondsPerDay;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

DateTime dateOnly(DateTime value) {
    return static_cast<DateTime>(split(value).day);
}

DateTime clampDateTime(DateTime value) {
    if (std::isnan(value)) return 0.0;
    if (value < kMinDateTime) return kMinDateTime;
    if (value > kMaxDateTime) return kMaxDateTime;
    return value;
}

std::string dateTimeToText(DateTime value) {
    using namespace literals;
    DateTime v = clampDateTime(value);
    CivilDate d = dateOf(v);
    TimeOfDay t = timeOf(v);
    std::string text = std::to_string(d.year) + "年"_gbk;
    text += std::to_string(d.month) + "月"_gbk + std::to_string(d.day) + "日"_gbk;
    if (t.hour == 0 && t.minute == 0 && t.second == 0) return text;
    text += std::to_string(t.hour) + "时"_gbk;
    if (t.second != 0)
        return text + std::to_string(t.minute) + "分"_gbk + std::to_string(t.second) + "秒"_gbk;
    if (t.minute != 0) return text + std::to_string(t.minute) + "分"_gbk;
    return text;
}

}  // namespace qinghe
