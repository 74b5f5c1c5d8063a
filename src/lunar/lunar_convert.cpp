// Gregorian to lunar by counting days from the anchor, and lunar to Gregorian
// by the bounded search that the solar-term lookup has always used.
#include <cmath>
#include <tuple>

#include "lunar/lunar.h"
#include "lunar/lunar_tables.h"
#include "lunar/solar_terms.h"

namespace qinghe::lunar {
namespace {

constexpr int kMonthsPerYear = 12;
constexpr int kMaxMonthDays = 30;
constexpr int kSearchSteps = 100;
constexpr int kLeapJumpDays = 31;

struct LunarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool isLeap = false;
};

// Day numbers (DateTime days) of lunar 1901-01-01 and of the first Gregorian
// day that no longer converts (2049-01-01).
long firstDayNumber() {
    static const long kDay = daysFromCivil(kFirstDayYear, kFirstDayMonth, kFirstDayDay);
    return kDay;
}
long endDayNumber() {
    static const long kDay = daysFromCivil(kEndYear, 1, 1);
    return kDay;
}

bool lunarOfDayNumber(long dayNumber, LunarDate& out) {
    if (dayNumber < firstDayNumber() || dayNumber >= endDayNumber()) return false;
    long n = dayNumber - firstDayNumber();
    // The last lunar year that starts on or before day n.
    int lo = kFirstLunarYear, hi = kLastLunarYear;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (lunarYearStart(mid) <= n) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    int year = lo;
    n -= lunarYearStart(year);
    int leap = leapMonthOf(year);
    for (int month = 1; month <= kMonthsPerYear; ++month) {
        int ordinary = lunarMonthDays(year, month, false);
        if (n < ordinary) {
            out = {year, month, static_cast<int>(n) + 1, false};
            return true;
        }
        n -= ordinary;
        if (month == leap) {
            int leapLength = lunarMonthDays(year, month, true);
            if (n < leapLength) {
                out = {year, month, static_cast<int>(n) + 1, true};
                return true;
            }
            n -= leapLength;
        }
    }
    return false;  // NEVER: the year search leaves n inside the year
}

}  // namespace

bool lunarFromDate(DateTime value, int& year, int& month, int& day, bool& isLeap) {
    if (!std::isfinite(value) || value < kMinDateTime || value >= kMaxDateTime + 1.0) return false;
    CivilDate civil = dateOf(value);
    LunarDate found;
    if (!lunarOfDayNumber(daysFromCivil(civil.year, civil.month, civil.day), found)) return false;
    year = found.year;
    month = found.month;
    day = found.day;
    isLeap = found.isLeap;
    return true;
}

bool dateFromLunar(int year, int month, int day, bool isLeap, DateTime& value) {
    if (!isLunarYear(year) || month < 1 || month > kMonthsPerYear) return false;
    // A day the month cannot have is never found; fail at once rather than
    // after the full search (and keep absurd day numbers out of the arithmetic).
    if (day < 1 || day > kMaxMonthDays) return false;
    if (isLeap && leapMonthOf(year) != month) isLeap = false;

    const auto wanted = std::tie(year, month, day);
    long guess = daysFromCivil(year, month, day);
    for (int step = 0; step < kSearchSteps; ++step) {
        // A guess outside the valid range compares as the earliest date, so
        // the search moves forward from a guess before 1901-02-19.
        LunarDate found;
        lunarOfDayNumber(guess, found);
        const auto seen = std::tie(found.year, found.month, found.day);
        if (seen == wanted) {
            if (found.isLeap == isLeap) {
                value = static_cast<DateTime>(guess);
                return true;
            }
            guess += found.isLeap ? -kLeapJumpDays : kLeapJumpDays;
        } else {
            guess += seen > wanted ? -1 : 1;
        }
    }
    return false;
}

std::string lunarSolarTerm(int year, int month, int day, bool isLeap, int* termNumber) {
    DateTime value = 0.0;
    if (!dateFromLunar(year, month, day, isLeap, value)) return {};
    CivilDate civil = dateOf(value);
    int entry = solarTermEntryOfDay(civil.year, civil.month, civil.day);
    if (termNumber != nullptr) *termNumber = entry == 0 ? 0 : termNumberOfEntry(entry);
    return entry == 0 ? std::string() : solarTermName(entry);
}

}  // namespace qinghe::lunar
