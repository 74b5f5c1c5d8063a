#include "wages/date_change.h"

#include <vector>

#include "common/gbk.h"
#include "wages/conversions.h"

namespace qinghe::wages {
namespace {

using namespace literals;

// "1日至8日、11日": the days of the month in runs of consecutive days.
std::string dayRuns(const std::vector<int>& days) {
    std::string text;
    for (std::size_t i = 0; i < days.size();) {
        std::size_t end = i;
        while (end + 1 < days.size() && days[end + 1] == days[end] + 1) ++end;
        if (!text.empty()) text += "、"_gbk;
        text += std::to_string(days[i]) + "日"_gbk;
        if (end > i) text += "至"_gbk + std::to_string(days[end]) + "日"_gbk;
        i = end + 1;
    }
    return text;
}

}  // namespace

DayEntryPreset dayEntryPreset(DateTime picked, const DayRules& rules) {
    return presetFor(kindOfDay(picked, rules).workedAs);
}

DayEntryPreset presetFor(DayKind workedAs) {
    using Choice = DayEntryPreset::Choice;
    switch (workedAs) {
        case DayKind::Sunday:
            return {Choice::Unchanged, "休息"_gbk, true};
        case DayKind::Saturday:
        case DayKind::DayOff:
            return {Choice::OvertimeG2, "10", false};
        case DayKind::Statutory:
            return {Choice::OvertimeG3, "10", false};
        case DayKind::MakeUpWorkday:
        case DayKind::Workday:
            break;
    }
    return {Choice::OvertimeG1, "2", false};
}

std::string presetText(const DayEntryPreset& preset) {
    using Choice = DayEntryPreset::Choice;
    switch (preset.choice) {
        case Choice::OvertimeG1:
            return "G1 " + preset.comboText;
        case Choice::OvertimeG2:
            return "G2 " + preset.comboText;
        case Choice::OvertimeG3:
            return "G3 " + preset.comboText;
        case Choice::Unchanged:
            break;
    }
    return preset.comboText;
}

std::string monthArrangementsText(DateTime date, const Arrangements& announced) {
    const CivilDate month = dateOf(clampDateTime(date));
    if (!announced.knowsYear(month.year))
        return std::to_string(month.year) + "年放假安排未收录"_gbk;
    std::vector<int> off, working;
    const long first = daysFromCivil(month.year, month.month, 1);
    for (const auto& [day, arrangement] :
         announced.between(first, first + daysInMonth(month.year, month.month) - 1)) {
        const int dayOfMonth = static_cast<int>(day - first) + 1;
        (arrangement->kind == Arranged::DayOff ? off : working).push_back(dayOfMonth);
    }
    std::string line;
    if (!off.empty()) line = "放假"_gbk + dayRuns(off);
    if (!working.empty()) line += (line.empty() ? "" : "，"_gbk) + dayRuns(working) + "上班"_gbk;
    return line;
}

DateChangeCaptions dateChangeCaptions(DateTime picked, std::string_view pickedMonthText,
                                      const OvertimeBoxes& boxes, const DayRules& rules) {
    MonthHourLimits limits = monthHourLimits(picked, rules);
    MonthHolidays holidays = findMonthHolidays(picked, rules.rules);
    double hoursDone = textToNumber(boxes.g1) + textToNumber(boxes.g2) + textToNumber(boxes.g3);

    DateChangeCaptions c;
    c.g1Limit = "本月G1最多时数："_gbk + numberToText(limits.g1);
    c.g2Limit = "本月G2最多时数："_gbk + numberToText(limits.g2);
    c.hoursDone =
        std::string(pickedMonthText) + "月已加班"_gbk + numberToText(hoursDone) + "个小时。"_gbk;
    c.g3Limit = "本月G3最多时数："_gbk + numberToText(limits.g3);
    c.totalLimit = "本月最多加班时数："_gbk + numberToText(limits.total);
    if (holidays.count != 0 || !holidays.names.empty())
        c.holidays = "本月法定节假日有："_gbk + holidays.names;
    if (rules.rules == Rules::Current)
        c.arranged = monthArrangementsText(picked, rules.arrangements());
    return c;
}

}  // namespace qinghe::wages
