#include "pictures/month_calendar.h"

#include "common/gbk.h"
#include "lunar/lunar.h"

namespace qinghe::pictures {
namespace {

using namespace literals;
using wages::DayKind;

// The festival, else the solar term, else the lunar day (with the month's
// name on its first day).
std::string smallText(DateTime date, const wages::KindOfDay& kind) {
    if (kind.kind == DayKind::Statutory) return kind.festival;
    int year = 0, month = 0, day = 0;
    bool leap = false;
    if (!lunar::lunarFromDate(date, year, month, day, leap)) return {};
    std::string term = lunar::lunarSolarTerm(year, month, day, leap);
    if (!term.empty()) return term;
    return lunar::lunarDateText(date, day == 1 ? "%M" : "%D");
}

// The hours of `record` for each kind that has any, and its remark (an empty
// one when it has neither).
void addEntries(const journal::JournalRecord& record, std::vector<CalendarEntry>& entries) {
    bool any = false;
    for (const EntryKindFacts& k : hourKinds()) {
        const std::int32_t hours = hoursOf(record, k);
        if (hours == 0) continue;
        entries.push_back({k.kind, journal::fieldSpec(k.field).name + " " + std::to_string(hours)});
        any = true;
    }
    if (!record.remark.empty() || !any) entries.push_back({EntryKind::Remark, record.remark});
}

// "加班G1 2小时" for "G1 2", "事假 8小时" for "事假 8", the remark as it is.
std::string spokenEntry(const CalendarEntry& entry) {
    if (entry.kind == EntryKind::Remark) return entry.text.empty() ? "空备注"_gbk : entry.text;
    const std::string hours = entry.text.substr(entry.text.find(' ') + 1);
    return legendName(entry.kind) + " " + hours + "小时"_gbk;
}

std::string accessibleName(const CalendarDay& d, int month) {
    std::string name = std::to_string(month) + "月"_gbk + std::to_string(d.day) + "日 "_gbk +
                       journal::weekdayText(d.date);
    const auto add = [&name](const std::string& words) { name += " " + words; };
    if (d.marked()) add(wages::dayKindName(d.kind.kind));
    if (d.kind.kind == DayKind::Statutory && !d.kind.festival.empty()) add(d.kind.festival);
    for (const CalendarEntry& e : d.entries) add(spokenEntry(e));
    if (d.nightShift) add("夜班"_gbk);
    if (d.twoRecords()) add(std::to_string(d.records) + "条记录"_gbk);
    if (d.notRecorded) add(legendName(EntryKind::NotRecorded));
    if (d.today) add("今天"_gbk);
    return name;
}

std::string totalsText(const journal::MonthTotals& totals) {
    const journal::MonthTotalsText t = journal::monthTotalsText(totals);
    return "本月合计：加班G1 "_gbk + t.g1 + "小时  加班G2 "_gbk + t.g2 + "小时  加班G3 "_gbk +
           t.g3 + "小时  事假 "_gbk + t.personalLeave + "小时  病假 "_gbk + t.sickLeave +
           "小时  旷工 "_gbk + t.absence + "小时  夜班 "_gbk + std::to_string(totals.nightShifts) +
           "次（津贴"_gbk + t.nightShiftAllowance + "元）"_gbk;
}

}  // namespace

bool CalendarDay::marked() const {
    return kind.kind == DayKind::Statutory || kind.kind == DayKind::DayOff ||
           kind.kind == DayKind::MakeUpWorkday;
}

MonthCalendar buildMonthCalendar(int year, int month,
                                 std::span<const journal::JournalRecord> records, DateTime today,
                                 const wages::DayRules& rules) {
    MonthCalendar c;
    c.year = year;
    c.month = month;
    c.title = std::to_string(year) + "年"_gbk + std::to_string(month) + "月"_gbk;
    const int days = daysInMonth(year, month);
    const DateTime first = makeDate(year, month, 1);
    const int lead = (weekdayOf(first) + 5) % kWeekColumns;  // Monday 0 ... Sunday 6
    c.weeks = (lead + days + kWeekColumns - 1) / kWeekColumns;
    const DateTime todayDate = dateOnly(today);
    c.days.resize(static_cast<std::size_t>(days));
    for (int i = 0; i < days; ++i) {
        CalendarDay& d = c.days[static_cast<std::size_t>(i)];
        d.day = i + 1;
        d.column = (lead + i) % kWeekColumns;
        d.week = (lead + i) / kWeekColumns;
        d.date = first + i;
        d.kind = wages::kindOfDay(d.date, rules);
        d.small = smallText(d.date, d.kind);
        d.today = d.date == todayDate;
    }
    for (const journal::JournalRecord& r : records) {
        if (yearOf(r.date) != year || monthOf(r.date) != month) continue;
        journal::addToTotals(c.totals, r);
        CalendarDay& d = c.days[static_cast<std::size_t>(dayOf(r.date)) - 1];
        ++d.records;
        d.nightShift = d.nightShift || r.nightShift != 0;
        addEntries(r, d.entries);
    }
    for (CalendarDay& d : c.days) {
        const bool working =
            d.kind.kind == DayKind::Workday || d.kind.kind == DayKind::MakeUpWorkday;
        d.notRecorded = working && d.records == 0 && d.date < todayDate;
        d.accessibleName = accessibleName(d, month);
    }
    c.totalsText = totalsText(c.totals);
    return c;
}

const CalendarDay* calendarDayOf(const MonthCalendar& calendar, DateTime date) {
    if (yearOf(date) != calendar.year || monthOf(date) != calendar.month) return nullptr;
    const auto day = static_cast<std::size_t>(dayOf(date));
    return day <= calendar.days.size() ? &calendar.days[day - 1] : nullptr;
}

}  // namespace qinghe::pictures
