#include "wages/settlement.h"

#include <algorithm>

#include "common/gbk.h"

namespace qinghe::wages {
namespace {

using namespace qinghe::literals;

void addTo(MonthIncome& sum, const MonthIncome& more) {
    sum.gross += more.gross;
    sum.special += more.special;
    sum.specialAdditional += more.specialAdditional;
    sum.other += more.other;
}

EmployerSubtotal& subtotalOf(std::vector<EmployerSubtotal>& parts, int employer) {
    const auto found = std::find_if(parts.begin(), parts.end(), [employer](const auto& part) {
        return part.employer == employer;
    });
    if (found != parts.end()) return *found;
    return parts.emplace_back(EmployerSubtotal{employer, {}, {}, 0});
}

// The rows as the settlement takes them, into `s`: each employer's part, the
// bonus kept on its own; and every bonus the law would tax on its own.
std::vector<Fen> addRows(const IncomeTaxLaw& law, std::span<const PaidMonth> rows, Settlement& s) {
    std::vector<Fen> bonuses;
    for (const PaidMonth& row : rows.first(std::min(rows.size(), kMaxYearRows))) {
        if (row.month < 1 || row.month > kMonthsPerYear) continue;
        EmployerSubtotal& part = subtotalOf(s.employers, row.employer);
        part.months.set(static_cast<std::size_t>(row.month) - 1);
        MonthIncome income = {
            clampHundredths(row.income.gross), clampHundredths(row.income.special),
            clampHundredths(row.income.specialAdditional), clampHundredths(row.income.other)};
        part.withheld += clampHundredths(row.withheld);
        const Fen bonus = std::max<Fen>(clampHundredths(row.bonus), 0);
        const bool alone = law.separateBonus && bonus > 0;
        if (alone) bonuses.push_back(bonus);
        if (alone && row.bonusTaxing == BonusTaxing::Separate) {
            const BracketTax tax = separateBonusTax(*law.separateBonus, bonus);
            if (s.bonusMonth == 0) {
                s.bonusMonth = row.month;
                s.bonusTax = tax;
                addTo(part.total, income);
                continue;
            }
            part.withheld += tax.tax;  // one too many: merged, its own tax withheld
        }
        income.gross += bonus;
        addTo(part.total, income);
    }
    for (const EmployerSubtotal& part : s.employers) {
        s.builtFrom |= part.months;
        addTo(s.total, part.total);
        s.withheld += part.withheld;
    }
    return bonuses;
}

Verdict verdictOf(const ExemptionLaw* exemption, Fen income, Fen balance) {
    if (balance < 0) return Verdict::Refund;
    if (balance == 0) return Verdict::Even;
    if (exemption && (income <= exemption->income || balance <= exemption->balance)) {
        return Verdict::Exempt;
    }
    return Verdict::ToPay;
}

}  // namespace

Fen medicalDeduction(Fen costs) {
    return std::clamp<Fen>(clampHundredths(costs) - kMedicalThreshold, 0, kMedicalCap);
}

std::string verdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::ToPay:
            return "应补"_gbk;
        case Verdict::Refund:
            return "应退"_gbk;
        case Verdict::Even:
            return "无需补退"_gbk;
        case Verdict::Exempt:
            return "无需补税（免予办理）"_gbk;
    }
    return {};
}

std::optional<Settlement> settleYear(const IncomeTaxLaw& law, std::span<const PaidMonth> yearRows,
                                     Fen medicalCosts) {
    const TaxLaw& wages = *law.wages;
    if (wages.method != TaxMethod::Cumulative) return std::nullopt;
    Settlement s;
    const std::vector<Fen> bonuses = addRows(law, yearRows, s);
    s.allowance = wages.allowance * kMonthsPerYear;
    s.medical = medicalDeduction(medicalCosts);
    const Fen deductions =
        s.allowance + s.total.special + s.total.specialAdditional + s.total.other + s.medical;
    const auto annualTax = [&](Fen income) {
        return taxByBrackets(wages.brackets, income - deductions);
    };
    s.tax = annualTax(s.total.gross);
    s.balance = s.tax.tax - s.withheld;
    s.verdict = verdictOf(law.exemption, s.total.gross, s.balance);
    if (!bonuses.empty()) {
        const Fen everyBonus = s.total.gross + s.bonusTax.taxable;
        BonusComparison both{kNoUpperBound, annualTax(everyBonus).tax};
        for (const Fen bonus : bonuses) {
            both.separate =
                std::min(both.separate, annualTax(everyBonus - bonus).tax +
                                            separateBonusTax(*law.separateBonus, bonus).tax);
        }
        s.bonusComparison = both;
    }
    return s;
}

}  // namespace qinghe::wages
