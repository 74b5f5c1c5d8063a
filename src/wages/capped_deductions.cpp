#include "wages/capped_deductions.h"

#include <algorithm>

#include "wages/tax_law.h"

namespace qinghe::wages {
namespace {

// One box and its law; kNoUpperBound where a cap does not apply.
struct DeductionCap {
    int fromYear, fromMonth;
    Fen perMonth;
    Fen perYear;
    int percentOfBase;
    Fen CappedPayments::*base;  // null: no cap by a wage base
    Fen CappedPayments::*paid;
    Fen DeductedBefore::*before;  // null: no yearly cap
    CappedDeduction CappedDeductions::*result;
};

constexpr DeductionCap kCaps[] = {
    // 财政部 税务总局公告2022年第34号
    {2022, 1, kNoUpperBound, 12000'00, 0, nullptr, &CappedPayments::privatePension,
     &DeductedBefore::privatePension, &CappedDeductions::privatePension},
    // 财税〔2017〕39号
    {2017, 7, 200'00, 2400'00, 0, nullptr, &CappedPayments::healthInsurance,
     &DeductedBefore::healthInsurance, &CappedDeductions::healthInsurance},
    // 财税〔2013〕103号
    {2014, 1, kNoUpperBound, kNoUpperBound, 4, &CappedPayments::annuityBase,
     &CappedPayments::annuity, nullptr, &CappedDeductions::annuity},
};

Fen capOf(const DeductionCap& cap, const CappedPayments& paid, const DeductedBefore& before) {
    Fen limit = cap.perMonth;
    if (cap.before) {
        limit =
            std::min(limit, std::max<Fen>(cap.perYear - clampHundredths(before.*cap.before), 0));
    }
    if (cap.base) {
        const Fen base = std::max<Fen>(clampHundredths(paid.*cap.base), 0);
        limit = std::min(limit, percentOf(base, cap.percentOfBase));
    }
    return limit;
}

}  // namespace

CappedDeductions cappedDeductions(int year, int month, const CappedPayments& paid,
                                  const DeductedBefore& before) {
    CappedDeductions all;
    for (const DeductionCap& cap : kCaps) {
        CappedDeduction& box = all.*cap.result;
        box.inForce = year > cap.fromYear || (year == cap.fromYear && month >= cap.fromMonth);
        if (!box.inForce) continue;
        const Fen given = std::max<Fen>(clampHundredths(paid.*cap.paid), 0);
        const Fen limit = capOf(cap, paid, before);
        box.deduction = std::min(given, limit);
        box.capReached = given > limit;
        all.total += box.deduction;
    }
    return all;
}

}  // namespace qinghe::wages
