#include "wages/statutory_days.h"

#include <algorithm>
#include <span>
#include <tuple>

#include "common/datetime.h"
#include "common/gbk.h"
#include "lunar/lunar.h"

namespace qinghe::wages {
namespace {

constexpr const char* kFestivalNames[] = {
    "元旦",   "除夕",   "春节",   "正月初二", "正月初三", "清明",
    "劳动节", "端午节", "中秋节", "国庆",     "纪念日",
};

// How a rule finds its day.
enum class By {
    Gregorian,      // Gregorian month-day
    Lunar,          // lunar month-day
    LunarMonthEnd,  // the last day of lunar month `month`
    Term,           // the day of solar term number `month`
};

struct Rule {
    Festival festival;
    bool named;
    By by;
    int month, day;
};

bool matches(const Rule& r, const CalendarDay& d) {
    switch (r.by) {
        case By::Gregorian:
            return d.month == r.month && d.day == r.day;
        case By::Lunar:
            return d.lunarMonth == r.month && d.lunarDay == r.day;
        case By::LunarMonthEnd:
            return d.lunarMonth == r.month && d.lunarDay == d.lunarMonthDays;
        case By::Term:
            break;
    }
    return d.term == r.month;
}

// Each rule once; the tables below list them in their order.
constexpr Rule kNewYear{Festival::NewYear, true, By::Gregorian, 1, 1};
constexpr Rule kEve{Festival::Eve, true, By::LunarMonthEnd, 12, 0};
constexpr Rule kSpring{Festival::Spring, true, By::Lunar, 1, 1};
constexpr Rule kSecond{Festival::Second, true, By::Lunar, 1, 2};
constexpr Rule kThird{Festival::Third, true, By::Lunar, 1, 3};
constexpr Rule kQingming{Festival::Qingming, true, By::Term, lunar::kQingmingTermNumber, 0};
constexpr Rule kLabour{Festival::Labour, true, By::Gregorian, 5, 1};
constexpr Rule kMay2{Festival::Labour, false, By::Gregorian, 5, 2};
constexpr Rule kMay3{Festival::Labour, false, By::Gregorian, 5, 3};
constexpr Rule kDragonBoat{Festival::DragonBoat, true, By::Lunar, 5, 5};
constexpr Rule kMidAutumn{Festival::MidAutumn, true, By::Lunar, 8, 15};
constexpr Rule kNational{Festival::National, true, By::Gregorian, 10, 1};
constexpr Rule kOctober2{Festival::National, false, By::Gregorian, 10, 2};
constexpr Rule kOctober3{Festival::National, false, By::Gregorian, 10, 3};
constexpr Rule kMemorial{Festival::Memorial, true, By::Gregorian, 9, 3};

using Table = std::span<const Rule* const>;

constexpr const Rule* kBefore2008[] = {&kNewYear, &kSpring, &kSecond,   &kThird,    &kLabour,
                                       &kMay2,    &kMay3,   &kNational, &kOctober2, &kOctober3};
constexpr const Rule* kFrom2008[] = {&kNewYear,  &kEve,      &kSpring,     &kSecond,
                                     &kQingming, &kLabour,   &kDragonBoat, &kMidAutumn,
                                     &kNational, &kOctober2, &kOctober3};
constexpr const Rule* kFrom2014[] = {&kNewYear,  &kSpring,   &kSecond,     &kThird,
                                     &kQingming, &kLabour,   &kDragonBoat, &kMidAutumn,
                                     &kNational, &kOctober2, &kOctober3};
constexpr const Rule* kIn2015[] = {&kNewYear,  &kSpring,   &kSecond,     &kThird,
                                   &kQingming, &kLabour,   &kDragonBoat, &kMidAutumn,
                                   &kNational, &kOctober2, &kOctober3,   &kMemorial};
constexpr const Rule* kFrom2025[] = {&kNewYear,  &kEve,      &kSpring,  &kSecond,     &kThird,
                                     &kQingming, &kLabour,   &kMay2,    &kDragonBoat, &kMidAutumn,
                                     &kNational, &kOctober2, &kOctober3};

struct Era {
    CivilDate from;
    Table rules;
};

// In date order; the first entry holds from the beginning of the calendar.
constexpr Era kEras[] = {
    {{kMinYear, 1, 1}, kBefore2008}, {{2008, 1, 1}, kFrom2008}, {{2014, 1, 1}, kFrom2014},
    {{2015, 1, 1}, kIn2015},         {{2016, 1, 1}, kFrom2014}, {{2025, 1, 1}, kFrom2025},
};

static_assert(
    std::ranges::all_of(kEras, [](const Era& e) { return e.rules.size() <= kMaxStatutoryRules; }),
    "a day may match every rule of its table");

// The original rules: the table of 2008 for every date.
constexpr Table kSeedTable = kFrom2008;

Table tableInForce(const CalendarDay& d) {
    Table in = kEras[0].rules;
    for (const Era& era : kEras) {
        if (std::tie(d.year, d.month, d.day) <
            std::tie(era.from.year, era.from.month, era.from.day))
            break;
        in = era.rules;
    }
    return in;
}

}  // namespace

CalendarDay describeDay(int year, int month, int day) {
    CalendarDay d{year, month, day};
    int lunarYear = 0;
    if (lunar::lunarFromDate(makeDate(year, month, day), lunarYear, d.lunarMonth, d.lunarDay,
                             d.leap)) {
        d.lunarMonthDays = lunar::lunarMonthDays(lunarYear, d.lunarMonth, d.leap);
        lunar::lunarSolarTerm(lunarYear, d.lunarMonth, d.lunarDay, d.leap, &d.term);
    }
    return d;
}

const std::string& festivalName(Festival festival) {
    static const auto kNames = [] {
        std::array<std::string, std::size(kFestivalNames)> names;
        for (std::size_t i = 0; i < names.size(); ++i)
            names[i] = gbk::fromUtf8(kFestivalNames[i]).text;
        return names;
    }();
    return kNames[static_cast<std::size_t>(festival)];
}

StatutoryMatches statutoryMatches(const CalendarDay& day, Rules rules) {
    const bool seed = rules == Rules::Seed;
    const Table table = seed ? kSeedTable : tableInForce(day);
    CalendarDay seen = day;
    if (day.leap && !seed) seen.lunarMonth = seen.lunarDay = seen.lunarMonthDays = 0;
    StatutoryMatches found;
    for (const Rule* rule : table) {
        if (matches(*rule, seen)) found.matches[found.count++] = {rule->festival, rule->named};
    }
    return found;
}

}  // namespace qinghe::wages
