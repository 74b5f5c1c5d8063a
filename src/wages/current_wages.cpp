#include "wages/current_wages.h"

#include <cstdint>

#include "wages/conversions.h"
#include "wages/labour_law.h"
#include "wages/tax_law.h"

namespace qinghe::wages {
namespace {

constexpr std::int64_t kPercentOfHourly = 100;  // the plain hourly rate, in percent
constexpr std::int64_t kHourUnitsTimesPercent = kHundredthsPerUnit * 100;

// Collects the figures of one calculation; the first that cannot be had
// makes the whole calculation not computable.
class Figures {
  public:
    Fen take(std::optional<std::int64_t> value) {
        if (!value) ok_ = false;
        return value.value_or(0);
    }
    // A figure formed by sums stays within the bound every figure keeps.
    Fen bounded(Fen value) {
        if (value != clampHundredths(value)) ok_ = false;
        return value;
    }
    bool ok() const { return ok_; }

  private:
    bool ok_ = true;
};

// hours (hundredths) x hourly rate x percent / 100, to the fen.
std::optional<Fen> hoursAt(Hundredths hours, Fen hourly, std::int64_t percent) {
    std::int64_t perHour = 0;
    if (__builtin_mul_overflow(hourly, percent, &perHour)) return std::nullopt;
    return mulDivRounded(hours, perHour, kHourUnitsTimesPercent);
}

}  // namespace

CurrentWages calculateCurrentWages(const CurrentWageInputs& given, int year, int month,
                                   const TaxSettings& settings,
                                   std::span<const PaidMonth> yearRows) {
    CurrentWageInputs in;
    for (const auto& row : payBoxes<std::string, Hundredths>()) {
        in.*row.input = clampHundredths(given.*row.input);
    }
    Figures f;
    PayResults<Fen> r;
    const Fen baseSum =
        f.bounded(in.basePay + in.postAllowance + in.positionAllowance + in.regionalAllowance);
    const Fen hourly = f.take(hourlyRate(baseSum, in.workingDays));
    r.hourlyRate = hourly;
    r.g1RateShown = f.take(mulDivRounded(hourly, kG1Percent, kPercentOfHourly));
    r.g2RateShown = f.bounded(hourly * kG2Percent / kPercentOfHourly);
    r.g3RateShown = f.bounded(hourly * kG3Percent / kPercentOfHourly);

    r.g1Pay = f.take(hoursAt(in.g1Hours, hourly, kG1Percent));
    r.g2Pay = f.take(hoursAt(in.g2Hours, hourly, kG2Percent));
    r.g3Pay = f.take(hoursAt(in.g3Hours, hourly, kG3Percent));
    r.overtimeTotal = r.g1Pay + r.g2Pay + r.g3Pay;

    r.personalLeaveDeduction = f.take(hoursAt(in.personalLeaveHours, hourly, kPercentOfHourly));
    r.sickLeaveDeduction =
        f.take(hoursAt(in.sickLeaveHours, hourly, kHundredthsPerUnit - in.sickPayRatio));
    r.absenceDeduction = f.take(hoursAt(in.absenceHours, hourly, kPercentOfHourly));

    r.grossPay = f.bounded(r.overtimeTotal + baseSum + in.nightShiftAllowance +
                           in.specialPostAllowance + in.skillAllowance - r.personalLeaveDeduction -
                           r.sickLeaveDeduction - r.absenceDeduction);

    r.day8Pay = f.bounded(hourly * kDayHours);
    r.day10Pay = f.bounded(r.day8Pay + hourly * kG1Percent * (kLongDayTotalHours - kDayHours) /
                                           kPercentOfHourly);
    r.restDay8Pay = f.bounded(r.g2RateShown * kDayHours);
    r.restDay10Pay = f.bounded(r.g2RateShown * kLongDayTotalHours);
    r.holiday8Pay = f.bounded(r.g3RateShown * kDayHours);
    r.holiday10Pay = f.bounded(r.g3RateShown * kLongDayTotalHours);

    const MonthIncome income = {r.grossPay, in.housingFund + in.socialInsurance,
                                settings.specialAdditional, settings.other};
    const Withholding tax = monthWithholding(incomeTaxLaw(year, month), {month, income}, yearRows,
                                             EmployerTerms{.lowIncome = settings.lowIncome});
    r.incomeTax = tax.withholding;
    r.netPay = f.bounded(r.grossPay - in.housingFund - in.socialInsurance - in.meals - in.lodging -
                         r.incomeTax - in.otherDeductions + in.otherAdditions);

    if (!f.ok()) return {};
    return {true, r, income, tax};
}

std::array<std::string, kWageResultCount> currentWageResultCaptions(const CurrentWages& wages) {
    std::array<std::string, kWageResultCount> captions;
    const auto& lines = resultLines<Fen>();
    for (std::size_t i = 0; i < kWageResultCount; ++i) {
        captions[i] =
            lines[i].prefix + (wages.computable ? formatHundredths(wages.figures.*lines[i].value)
                                                : std::string(kNotComputableText));
    }
    return captions;
}

DecimalError readBoxHundredths(std::string_view gbk, Hundredths& value) {
    const std::string folded = foldFullWidth(gbk);
    const auto first = folded.find_first_not_of(" \t");
    if (first == std::string::npos) {
        value = 0;
        return DecimalError::None;
    }
    const auto last = folded.find_last_not_of(" \t");
    return parseHundredths(std::string_view(folded).substr(first, last - first + 1), SignRule::Any,
                           value);
}

}  // namespace qinghe::wages
