#include <array>
#include <tuple>

#include "common/gbk.h"
#include "lunar/lunar.h"
#include "lunar/solar_terms.h"

namespace qinghe::lunar {
namespace {

using namespace literals;

constexpr int kCycleYears = 60;
constexpr int kStems = 10;
constexpr int kBranches = 12;
// 1901 is year 38 (辛丑) of the cycle that 1924 (甲子) restarts.
constexpr int kCycleOf1901 = 38;
constexpr int kCycleBaseYear = 1901;

struct Names {
    std::array<std::string, kStems> stems{"甲"_gbk, "乙"_gbk, "丙"_gbk, "丁"_gbk, "戊"_gbk,
                                          "己"_gbk, "庚"_gbk, "辛"_gbk, "壬"_gbk, "癸"_gbk};
    std::array<std::string, kBranches> branches{"子"_gbk, "丑"_gbk, "寅"_gbk, "卯"_gbk,
                                                "辰"_gbk, "巳"_gbk, "午"_gbk, "未"_gbk,
                                                "申"_gbk, "酉"_gbk, "戌"_gbk, "亥"_gbk};
    std::array<std::string, kBranches> animals{"鼠"_gbk, "牛"_gbk, "虎"_gbk, "兔"_gbk,
                                               "龙"_gbk, "蛇"_gbk, "马"_gbk, "羊"_gbk,
                                               "猴"_gbk, "鸡"_gbk, "狗"_gbk, "猪"_gbk};
    std::array<std::string, 12> months{"正月"_gbk, "二月"_gbk, "三月"_gbk, "四月"_gbk,
                                       "五月"_gbk, "六月"_gbk, "七月"_gbk, "八月"_gbk,
                                       "九月"_gbk, "十月"_gbk, "冬月"_gbk, "腊月"_gbk};
    std::array<std::string, 10> digits{"一"_gbk, "二"_gbk, "三"_gbk, "四"_gbk, "五"_gbk,
                                       "六"_gbk, "七"_gbk, "八"_gbk, "九"_gbk, "十"_gbk};
    std::array<std::string, 4> tens{"初"_gbk, "十"_gbk, "廿"_gbk, "三"_gbk};
    std::string leap = "闰"_gbk;
    std::string defaultFormat = "%Y年(%S)%M%D %y-%m-%d"_gbk;
};

const Names& names() {
    static const Names kNames;
    return kNames;
}

std::string dayName(int day) {
    const Names& n = names();
    if (day == 20 || day == 30)
        return n.digits[static_cast<std::size_t>(day / 10 - 1)] + n.digits[9];
    int tens = (day - 1) / 10;  // 1..10 -> 0, 11..19 -> 1, 21..29 -> 2
    return n.tens[static_cast<std::size_t>(tens)] +
           n.digits[static_cast<std::size_t>((day - 1) % 10)];
}

// The number (1..60) of the cycle year in force at `value`: that of the
// Gregorian year from its 立春 on, the one before it until then.
int cycleYear(const CivilDate& date, const TimeOfDay& time) {
    int k = ((date.year - kCycleBaseYear) % kCycleYears + kCycleYears) % kCycleYears;
    int i = k + kCycleOf1901;
    if (i > kCycleYears) i -= kCycleYears;
    const SolarTermMoment& lichun = solarTermMoment(date.year, kLichunEntry);
    bool beforeLichun = std::make_tuple(date.month, date.day, time.hour, time.minute, time.second) <
                        std::make_tuple(int{lichun.month}, int{lichun.day}, int{lichun.hour},
                                        int{lichun.minute}, int{lichun.second});
    if (beforeLichun) i = i == 1 ? kCycleYears : i - 1;
    return i;
}

void replaceAll(std::string& text, std::string_view code, const std::string& with) {
    for (std::size_t at = text.find(code); at != std::string::npos;
         at = text.find(code, at + with.size())) {
        text.replace(at, code.size(), with);
    }
}

}  // namespace

const std::string& defaultLunarDateFormat() {
    return names().defaultFormat;
}

std::string lunarDateText(DateTime value, std::string_view format) {
    const Names& n = names();
    DateTime v = clampDateTime(value);
    CivilDate date = dateOf(v);
    TimeOfDay time = timeOf(v);

    std::string cycle, animal, month, day;
    int ly = 0, lm = 0, ld = 0;
    bool leap = false;
    if (lunarFromDate(v, ly, lm, ld, leap)) {
        int i = cycleYear(date, time);
        cycle = n.stems[static_cast<std::size_t>((i - 1) % kStems)] +
                n.branches[static_cast<std::size_t>((i - 1) % kBranches)];
        animal = n.animals[static_cast<std::size_t>((i - 1) % kBranches)];
        month = (leap ? n.leap : std::string()) + n.months[static_cast<std::size_t>(lm - 1)];
        day = dayName(ld);
    }

    std::string text = format.empty() ? n.defaultFormat : std::string(format);
    replaceAll(text, "%Y", cycle);
    replaceAll(text, "%S", animal);
    replaceAll(text, "%M", month);
    replaceAll(text, "%D", day);
    replaceAll(text, "%y", std::to_string(date.year));
    replaceAll(text, "%m", std::to_string(date.month));
    replaceAll(text, "%d", std::to_string(date.day));
    return text;
}

}  // namespace qinghe::lunar
