#include "wages/statutory_days.h"

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

struct Rule {
    Festival festival;
    bool named;
    bool (*matches)(const CalendarDay&);
};

// Each rule once; the tables below list them in their order.
constexpr Rule kNewYear{Festival::NewYear, true,
                        [](const CalendarDay& d) { return d.month == 1 && d.day == 1; }};
constexpr Rule kEve{Festival::Eve, true, [](const CalendarDay& d) {
                        return d.lunarMonth == 12 && d.lunarDay == d.lunarMonthDays;
                    }};
constexpr Rule kSpring{Festival::Spring, true,
                       [](const CalendarDay& d) { return d.lunarMonth == 1 && d.lunarDay == 1; }};
constexpr Rule kSecond{Festival::Second, true,
                       [](const CalendarDay& d) { return d.lunarMonth == 1 && d.lunarDay == 2; }};
constexpr Rule kThird{Festival::Third, true,
                      [](const CalendarDay& d) { return d.lunarMonth == 1 && d.lunarDay == 3; }};
constexpr Rule kQingming{Festival::Qingming, true,
                         [](const CalendarDay& d) { return d.term == lunar::kQingmingTermNumber; }};
constexpr Rule kLabour{Festival::Labour, true,
                       [](const CalendarDay& d) { return d.month == 5 && d.day == 1; }};
constexpr Rule kMay2{Festival::Labour, false,
                     [](const CalendarDay& d) { return d.month == 5 && d.day == 2; }};
constexpr Rule kMay3{Festival::Labour, false,
                     [](const CalendarDay& d) { return d.month == 5 && d.day == 3; }};
constexpr Rule kDragonBoat{Festival::DragonBoat, true, [](const CalendarDay& d) {
                               return d.lunarMonth == 5 && d.lunarDay == 5;
                           }};
constexpr Rule kMidAutumn{Festival::MidAutumn, true, [](const CalendarDay& d) {
                              return d.lunarMonth == 8 && d.lunarDay == 15;
                          }};
constexpr Rule kNational{Festival::National, true,
                         [](const CalendarDay& d) { return d.month == 10 && d.day == 1; }};
constexpr Rule kOctober2{Festival::National, false,
                         [](const CalendarDay& d) { return d.month == 10 && d.day == 2; }};
constexpr Rule kOctober3{Festival::National, false,
                         [](const CalendarDay& d) { return d.month == 10 && d.day == 3; }};
constexpr Rule kMemorial{Festival::Memorial, true,
                         [](const CalendarDay& d) { return d.month == 9 && d.day == 3; }};

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
        if (rule->matches(seen)) found.matches[found.count++] = {rule->festival, rule->named};
    }
    return found;
}

}  // namespace qinghe::wages
