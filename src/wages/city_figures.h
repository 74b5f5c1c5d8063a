// The city's figures as data: the minimum wage, the floors and caps of the
// contribution bases and the employee's rates, as the city where a person
// works sets them, each from the month its notice names. No city's figures
// are built in: a person lists their own in the file 城市参数.txt of the data
// folder (datafolder/city_figures_file.h), from their payslip and the city's
// annual notice.
//
// The file (UTF-8, a byte-order mark allowed; lines end in LF or CR LF):
//
//   # a comment; blank lines are skipped
//   2025-07<TAB>社保基数下限<TAB>4492
//
// one figure a line: the month it takes effect (YYYY-MM, years 100..9999),
// the key and the value, separated by one TAB each. A figure holds from its
// month until a later line of the same key takes effect; before a key's
// first month it is unknown. The keys, in kCityKeys' order, and their values:
//
//   最低工资        yuan a month   the minimum wage
//   社保基数下限    yuan a month   the social insurance base's floor
//   社保基数上限    yuan a month   its cap
//   公积金基数下限  yuan a month   the housing fund base's floor
//   公积金基数上限  yuan a month   its cap
//   养老比例        percent        the employee's pension rate
//   医疗比例        percent        medical
//   医疗固定额      yuan a month   a fixed medical amount on top
//   失业比例        percent        unemployment
//   公积金比例      percent        housing fund
//
// A value is digits with at most two decimals ("4492", "0.5"), a percent at
// most 100. Bad lines: one that is not three fields, a bad month, an unknown
// key, a bad value; a key given twice for one month (the second line); a line
// with which a base's floor in force passes its cap in force (of the lines
// taking effect in that month, the last that sets the floor or the cap). A
// floor and a cap raised together in one month cross nowhere, whatever the
// order of their lines.
//
// Pure: parsing takes the file's bytes. Amounts are fen; a percent is
// Hundredths of a percent (0.5 % is 50).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "wages/money.h"

namespace qinghe::wages {

// The figures in force in one month; nothing where no line of the key has
// taken effect by then.
struct CityNumbers {
    std::optional<Fen> minimumWage;
    std::optional<Fen> socialFloor;
    std::optional<Fen> socialCap;
    std::optional<Fen> fundFloor;
    std::optional<Fen> fundCap;
    std::optional<Hundredths> pensionRate;
    std::optional<Hundredths> medicalRate;
    std::optional<Fen> medicalFixed;
    std::optional<Hundredths> unemploymentRate;
    std::optional<Hundredths> fundRate;
};

enum class CityValue { Amount, Percent };

struct CityKey {
    std::string_view name;  // as the file spells it (UTF-8)
    CityValue value;
    std::optional<Hundredths> CityNumbers::*figure;
};

inline constexpr std::size_t kCityKeyCount = 10;
inline constexpr CityKey kCityKeys[kCityKeyCount] = {
    {"最低工资", CityValue::Amount, &CityNumbers::minimumWage},
    {"社保基数下限", CityValue::Amount, &CityNumbers::socialFloor},
    {"社保基数上限", CityValue::Amount, &CityNumbers::socialCap},
    {"公积金基数下限", CityValue::Amount, &CityNumbers::fundFloor},
    {"公积金基数上限", CityValue::Amount, &CityNumbers::fundCap},
    {"养老比例", CityValue::Percent, &CityNumbers::pensionRate},
    {"医疗比例", CityValue::Percent, &CityNumbers::medicalRate},
    {"医疗固定额", CityValue::Amount, &CityNumbers::medicalFixed},
    {"失业比例", CityValue::Percent, &CityNumbers::unemploymentRate},
    {"公积金比例", CityValue::Percent, &CityNumbers::fundRate},
};

// The most a percent may be: 100 %.
inline constexpr Hundredths kWholePercent = 100 * kHundredthsPerUnit;

// Why a line of the file was refused.
enum class CityFault {
    BadFields,      // not three fields separated by TABs
    BadMonth,       // the first field is no month of the form YYYY-MM
    BadKey,         // the second field is none of kCityKeys
    BadValue,       // not digits with at most two decimals, or a percent above 100
    Repeated,       // the key was given for that month already
    FloorAboveCap,  // a base's floor in force would pass its cap in force
};

// A refused line: its number, from 1, and why.
struct CityFiguresError {
    int line = 0;
    CityFault fault = CityFault::BadFields;
};

class CityFigures {
  public:
    // The figures of a file's bytes, or a bad line: the first whose own
    // fields are bad; else the first that repeats a key of its month; else
    // the first, by month, that passes a cap.
    static std::variant<CityFigures, CityFiguresError> parse(std::string_view fileBytes);

    // The figures in force in `month` (1..12) of `year`.
    CityNumbers inForce(int year, int month) const;

    bool empty() const { return figures_.empty(); }

    // One line of a file, as read.
    struct Figure {
        long month;  // months since the year 0
        const CityKey* key;
        Hundredths value;
        int line;
    };

  private:
    std::vector<Figure> figures_;  // ascending months, each key once a month
};

}  // namespace qinghe::wages
