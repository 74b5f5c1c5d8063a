#include "wages/wage_calculation.h"

#include <cstdint>

#include "common/gbk.h"
#include "wages/conversions.h"
#include "wages/income_tax.h"

namespace qinghe::wages {
namespace {

using namespace literals;

constexpr int kMoneyPlaces = 2;  // rates and tax are rounded to the fen
constexpr double kHoursPerDay = kDayHours;
constexpr double kLongDayHours = kLongDayTotalHours;
constexpr double kLongDayOvertimeHours = kLongDayTotalHours - kDayHours;
constexpr double kG1Factor = kG1Percent / 100.0;
constexpr double kG2Factor = kG2Percent / 100.0;
constexpr double kG3Factor = kG3Percent / 100.0;

}  // namespace

WageResults calculateWages(const WageInputs& in) {
    WageResults out;
    const double baseSum =
        ((in.basePay + in.postAllowance) + in.positionAllowance) + in.regionalAllowance;
    const double hourly = roundHalfAway((baseSum / in.workingDays) / kHoursPerDay, kMoneyPlaces);
    const double g1Rate = hourly * kG1Factor;
    const double g2Rate = hourly * kG2Factor;
    const double g3Rate = hourly * kG3Factor;

    out.hourlyRate = hourly;
    out.g1Pay = in.g1Hours * g1Rate;
    out.g2Pay = in.g2Hours * g2Rate;
    out.g3Pay = in.g3Hours * g3Rate;
    out.overtimeTotal = (out.g1Pay + out.g2Pay) + out.g3Pay;

    out.personalLeaveDeduction = in.personalLeaveHours * hourly;
    out.sickLeaveDeduction = (in.sickLeaveHours * hourly) * in.sickPayRatio;
    out.absenceDeduction = in.absenceHours * hourly;

    double gross = out.overtimeTotal + baseSum;
    gross = gross + in.nightShiftAllowance;
    gross = gross + in.specialPostAllowance;
    gross = gross + in.skillAllowance;
    gross = gross - out.personalLeaveDeduction;
    gross = gross - out.sickLeaveDeduction;
    gross = gross - out.absenceDeduction;
    out.grossPay = gross;

    out.incomeTax =
        roundHalfAway(incomeTax(gross, in.housingFund + in.socialInsurance), kMoneyPlaces);

    double net = gross - in.housingFund;
    net = net - in.socialInsurance;
    net = net - in.meals;
    net = net - in.lodging;
    net = net - out.incomeTax;
    net = net - in.otherDeductions;
    net = net + in.otherAdditions;
    out.netPay = net;

    const double normalPart = hourly * kHoursPerDay;
    const double overtimePart = g1Rate * kLongDayOvertimeHours;
    out.day8Pay = normalPart;
    out.day10Pay = normalPart + overtimePart;
    out.restDay8Pay = g2Rate * kHoursPerDay;
    out.restDay10Pay = g2Rate * kLongDayHours;
    out.holiday8Pay = g3Rate * kHoursPerDay;
    out.holiday10Pay = g3Rate * kLongDayHours;

    out.g1RateShown = roundHalfAway(g1Rate, kMoneyPlaces);
    out.g2RateShown = roundHalfAway(g2Rate, kMoneyPlaces);
    out.g3RateShown = roundHalfAway(g3Rate, kMoneyPlaces);
    return out;
}

template <class Number>
const std::array<ResultLine<Number>, kWageResultCount>& resultLines() {
    using R = PayResults<Number>;
    static const std::array<ResultLine<Number>, kWageResultCount> lines = {{
        {"个人所得税代扣:"_gbk, &R::incomeTax},
        {"G1工资："_gbk, &R::g1Pay},
        {"G2工资："_gbk, &R::g2Pay},
        {"G3工资："_gbk, &R::g3Pay},
        {"加班费总和："_gbk, &R::overtimeTotal},
        {"事假减项："_gbk, &R::personalLeaveDeduction},
        {"病假减项："_gbk, &R::sickLeaveDeduction},
        {"旷工减项："_gbk, &R::absenceDeduction},
        {"时薪："_gbk, &R::hourlyRate},
        {"8小时日薪："_gbk, &R::day8Pay},
        {"10小时日薪："_gbk, &R::day10Pay},
        {"应发工资："_gbk, &R::grossPay},
        {"实发工资："_gbk, &R::netPay},
        {"G1时薪："_gbk, &R::g1RateShown},
        {"G2时薪："_gbk, &R::g2RateShown},
        {"节假日时薪："_gbk, &R::g3RateShown},
        {"周六日8小时薪资："_gbk, &R::restDay8Pay},
        {"周六日10小时薪资："_gbk, &R::restDay10Pay},
        {"节假日8小时薪资："_gbk, &R::holiday8Pay},
        {"节假日10小时薪资："_gbk, &R::holiday10Pay},
    }};
    return lines;
}

template const std::array<ResultLine<double>, kWageResultCount>& resultLines<double>();
template const std::array<ResultLine<std::int64_t>, kWageResultCount>& resultLines<std::int64_t>();

std::array<std::string, kWageResultCount> wageResultCaptions(const WageResults& results) {
    std::array<std::string, kWageResultCount> captions;
    const auto& lines = resultLines<double>();
    for (std::size_t i = 0; i < kWageResultCount; ++i) {
        captions[i] = lines[i].prefix + numberToText(results.*lines[i].value);
    }
    return captions;
}

}  // namespace qinghe::wages
