#include "cli/date_args.h"

namespace qinghe::cli {
namespace {

// Offsets in YYYY-MM-DDTHH:MM:SS.
constexpr std::size_t kYearDigits = 4;
constexpr std::size_t kFieldDigits = 2;
constexpr std::size_t kMonthAt = 5, kDayAt = 8, kHourAt = 11, kMinuteAt = 14, kSecondAt = 17;
constexpr std::size_t kMonthLength = 7;      // YYYY-MM
constexpr std::size_t kDateLength = 10;      // YYYY-MM-DD
constexpr std::size_t kDateTimeLength = 19;  // YYYY-MM-DDTHH:MM:SS

// The decimal number of text[at, at + digits), or -1 when a character there
// is not a digit.
int digitsAt(std::string_view text, std::size_t at, std::size_t digits) {
    int value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool separatorAt(std::string_view text, std::size_t at, char c) {
    return text[at] == c;
}

std::optional<CivilDate> parseYearMonth(std::string_view text, std::string& why) {
    int year = digitsAt(text, 0, kYearDigits);
    int month = digitsAt(text, kMonthAt, kFieldDigits);
    if (year < 0 || month < 0 || !separatorAt(text, kMonthAt - 1, '-')) {
        why = "'" + std::string(text) + "' is not a date of the form YYYY-MM-DD";
        return std::nullopt;
    }
    if (year < kMinYear || year > kMaxYear) {
        why = "year " + std::to_string(year) + " is outside 100..9999";
        return std::nullopt;
    }
    if (month < 1 || month > 12) {
        why = "month " + std::to_string(month) + " does not exist";
        return std::nullopt;
    }
    return CivilDate{year, month, 1};
}

}  // namespace

std::optional<DateArg> parseDateArg(std::string_view text, bool allowTime, std::string& why) {
    bool withTime = allowTime && text.size() == kDateTimeLength;
    if (text.size() != kDateLength && !withTime) {
        why = "'" + std::string(text) + "' is not a date of the form YYYY-MM-DD" +
              (allowTime ? " or YYYY-MM-DDTHH:MM:SS" : "");
        return std::nullopt;
    }
    auto month = parseYearMonth(text, why);
    if (!month) return std::nullopt;
    int day = digitsAt(text, kDayAt, kFieldDigits);
    if (day < 0 || !separatorAt(text, kDayAt - 1, '-')) {
        why = "'" + std::string(text) + "' is not a date of the form YYYY-MM-DD";
        return std::nullopt;
    }
    if (day < 1 || day > daysInMonth(month->year, month->month)) {
        why = std::string(text.substr(0, kDateLength)) +
              " does not exist: " + std::to_string(month->year) + "-" +
              std::to_string(month->month) + " has " +
              std::to_string(daysInMonth(month->year, month->month)) + " days";
        return std::nullopt;
    }
    DateArg arg{{month->year, month->month, day}, {}};
    if (!withTime) return arg;

    int hour = digitsAt(text, kHourAt, kFieldDigits);
    int minute = digitsAt(text, kMinuteAt, kFieldDigits);
    int second = digitsAt(text, kSecondAt, kFieldDigits);
    if (!separatorAt(text, kHourAt - 1, 'T') || !separatorAt(text, kMinuteAt - 1, ':') ||
        !separatorAt(text, kSecondAt - 1, ':') || hour < 0 || minute < 0 || second < 0) {
        why = "'" + std::string(text) + "' is not a date and time of the form YYYY-MM-DDTHH:MM:SS";
        return std::nullopt;
    }
    if (hour > 23 || minute > 59 || second > 59) {
        why = "'" + std::string(text.substr(kHourAt)) + "' is not a time of day";
        return std::nullopt;
    }
    arg.time = {hour, minute, second};
    return arg;
}

std::optional<CivilDate> parseMonthArg(std::string_view text, std::string& why) {
    if (text.size() != kMonthLength) {
        why = "'" + std::string(text) + "' is not a month of the form YYYY-MM";
        return std::nullopt;
    }
    auto month = parseYearMonth(text, why);
    if (!month && why.find("form") != std::string::npos) {
        why = "'" + std::string(text) + "' is not a month of the form YYYY-MM";
    }
    return month;
}

}  // namespace qinghe::cli
