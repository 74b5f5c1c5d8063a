// Parsing of the date arguments of qinghe-cli subcommands.
//
// Dates are strict ISO forms of the Gregorian calendar, years 100..9999:
// YYYY-MM-DD, YYYY-MM-DDTHH:MM:SS, or a month YYYY-MM. Anything else (a day
// the month does not have, month 13, extra characters, text) is rejected with
// a reason in English for the terminal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/datetime.h"

namespace qinghe::cli {

struct DateArg {
    CivilDate date;
    TimeOfDay time;  // 00:00:00 unless given
};

// YYYY-MM-DD, or with allowTime also YYYY-MM-DDTHH:MM:SS.
std::optional<DateArg> parseDateArg(std::string_view text, bool allowTime, std::string& why);

// YYYY-MM; the day of the result is 1.
std::optional<CivilDate> parseMonthArg(std::string_view text, std::string& why);

}  // namespace qinghe::cli
