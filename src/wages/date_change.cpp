#include "wages/date_change.h"

#include "common/gbk.h"
#include "wages/conversions.h"
#include "wages/holidays.h"

namespace qinghe::wages {
namespace {

using namespace literals;

constexpr int kSunday = 1, kSaturday = 7;  // weekdayOf numbering

}  // namespace

DayEntryPreset dayEntryPreset(DateTime picked) {
    switch (weekdayOf(clampDateTime(picked))) {
        case kSunday:
            return {DayEntryPreset::Choice::Unchanged, "休息"_gbk, true};
        case kSaturday:
            return {DayEntryPreset::Choice::OvertimeG2, "10", false};
        default:
            return {DayEntryPreset::Choice::OvertimeG1, "2", false};
    }
}

DateChangeCaptions dateChangeCaptions(DateTime picked, std::string_view pickedMonthText,
                                      const OvertimeBoxes& boxes) {
    MonthHourLimits limits = monthHourLimits(picked);
    MonthHolidays holidays = findMonthHolidays(picked);
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
    return c;
}

}  // namespace qinghe::wages
