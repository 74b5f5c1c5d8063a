// Gregorian to lunar by counting days from the anchor, and lunar to Gregorian
// by the bounded search that defines which lunar dates the solar-term lookup
// can reach.
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
    return lunarDateAtOffset(dayNumber - firstDayNumber(), out);
}

}  // namespace

bool lunarFromDate(DateTime value, int& year, int& month, int& day, bool& isLeap) {
    if (!std::isfinite(value) || value < kMinDateTime || value >= kMaxDateTime + 1.0) return false;
    LunarDate found;
    if (!lunarOfDayNumber(static_cast<long>(dateOnly(value)), found)) return false;
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
