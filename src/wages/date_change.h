// What the window shows after a date is picked: the presets of the day-entry
// choices for the kind of the picked day, and the captions of the month's
// limit labels, of the label of hours done, of the holiday label and of the
// line of the month's announced arrangements.
//
// Pure (no Qt); the window's date-change handler applies the result to its
// controls. Text is GBK; numbers are written with numberToText.
#pragma once

#include <string>
#include <string_view>

#include "common/datetime.h"
#include "wages/holidays.h"

namespace qinghe::wages {

// The day-entry choices preset by the kind the picked day is worked as
// (KindOfDay::workedAs: under Seed its weekday):
//   Sunday:                     combo box "休息", night shift cleared, radio
//                               buttons kept;
//   Saturday, a day off:        overtime class G2 chosen, combo box "10";
//   Monday..Friday, a make-up
//   working day:                overtime class G1 chosen, combo box "2";
//   a statutory day (Current):  overtime class G3 chosen, combo box "10".
// Choosing a class clears the other five radio buttons (G1/G2/G3 overtime,
// absence, sick leave, personal leave).
struct DayEntryPreset {
    enum class Choice { Unchanged, OvertimeG1, OvertimeG2, OvertimeG3 };
    Choice choice = Choice::Unchanged;
    std::string comboText;
    bool clearNightShift = false;
};

DayEntryPreset dayEntryPreset(DateTime picked, const DayRules& rules = {});

// The preset of a day worked as `workedAs`.
DayEntryPreset presetFor(DayKind workedAs);

// The preset as one short text: "G1 2", "G2 10", "G3 10", or the combo box's
// text alone when no class is chosen ("休息").
std::string presetText(const DayEntryPreset& preset);

// The month's announced arrangements in one short line (GBK): its days off
// and its make-up working days, as "放假1日至8日，11日上班"; "" for a month
// without any; "2027年放假安排未收录" for a year the list does not know.
std::string monthArrangementsText(DateTime date, const Arrangements& announced);

// The labels of the month of the picked date, under `rules`. The hours done
// are the sum of the three overtime boxes' texts read as numbers (empty or
// non-numeric text counts as 0), under the month number `pickedMonthText`
// that the monthly totals last set (not necessarily the picked month).
struct DateChangeCaptions {
    std::string g1Limit;     // "本月G1最多时数：" + G1 limit
    std::string g2Limit;     // "本月G2最多时数：" + G2 limit
    std::string hoursDone;   // pickedMonthText + "月已加班" + hours + "个小时。"
    std::string g3Limit;     // "本月G3最多时数：" + G3 limit
    std::string totalLimit;  // "本月最多加班时数：" + total limit
    std::string holidays;    // "本月法定节假日有：" + the names, or "" for none
    std::string arranged;    // monthArrangementsText under Current; "" under Seed
};

struct OvertimeBoxes {
    std::string_view g1, g2, g3;  // GBK texts of the three overtime boxes
};

DateChangeCaptions dateChangeCaptions(DateTime picked, std::string_view pickedMonthText,
                                      const OvertimeBoxes& boxes, const DayRules& rules = {});

}  // namespace qinghe::wages
