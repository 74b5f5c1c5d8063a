// What the window shows after a date is picked: the presets of the day-entry
// choices for the picked day's weekday, and the captions of the month's limit
// labels, of the label of hours done and of the holiday label.
//
// Pure (no Qt); the window's date-change handler applies the result to its
// controls. Text is GBK; numbers are written with numberToText.
#pragma once

#include <string>
#include <string_view>

#include "common/datetime.h"

namespace qinghe::wages {

// The day-entry choices preset by the weekday of the picked date:
//   Sunday:           combo box "休息", night shift cleared, radio buttons kept;
//   Saturday:         overtime class G2 chosen, combo box "10";
//   Monday..Friday:   overtime class G1 chosen, combo box "2".
// Choosing a class clears the other five radio buttons (G1/G2/G3 overtime,
// absence, sick leave, personal leave).
struct DayEntryPreset {
    enum class Choice { Unchanged, OvertimeG1, OvertimeG2 };
    Choice choice = Choice::Unchanged;
    std::string comboText;
    bool clearNightShift = false;
};

DayEntryPreset dayEntryPreset(DateTime picked);

// The five labels of the month of the picked date. The hours done are the
// sum of the three overtime boxes' texts read as numbers (empty or
// non-numeric text counts as 0), under the month number `pickedMonthText`
// that the monthly totals last set (not necessarily the picked month).
struct DateChangeCaptions {
    std::string g1Limit;     // "本月G1最多时数：" + G1 limit
    std::string g2Limit;     // "本月G2最多时数：" + G2 limit
    std::string hoursDone;   // pickedMonthText + "月已加班" + hours + "个小时。"
    std::string g3Limit;     // "本月G3最多时数：" + G3 limit
    std::string totalLimit;  // "本月最多加班时数：" + total limit
    std::string holidays;    // "本月法定节假日有：" + the names, or "" for none
};

struct OvertimeBoxes {
    std::string_view g1, g2, g3;  // GBK texts of the three overtime boxes
};

DateChangeCaptions dateChangeCaptions(DateTime picked, std::string_view pickedMonthText,
                                      const OvertimeBoxes& boxes);

}  // namespace qinghe::wages
