#include "journal/month_totals.h"

#include "common/gbk.h"
#include "wages/conversions.h"

namespace qinghe::journal {

using namespace literals;

void addToTotals(MonthTotals& totals, const JournalRecord& record) {
    totals.g1 += record.g1;
    totals.g2 += record.g2;
    totals.g3 += record.g3;
    totals.personalLeave += record.personalLeave;
    totals.sickLeave += record.sickLeave;
    totals.nightShifts += record.nightShift;
    totals.absence += record.absence;
}

bool totalMonth(const JournalAccess& access, DateTime picked, MonthTotals& totals,
                StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadOnly);
    const int year = yearOf(picked), month = monthOf(picked);
    MonthTotals sum;
    int count = 0;
    bool ok = journal.isOpen() && journal.count(count);
    for (int i = 0; ok && i < count; ++i) {
        DateTime date = 0.0;
        ok = journal.readDate(date);
        if (ok && monthOf(date) == month && yearOf(date) == year) {
            JournalRecord r;
            ok = journal.readIntegers(r);
            addToTotals(sum, r);
        }
        ok = ok && journal.next();
    }
    ok = ok && journal.goLast() && (count == 0 || journal.readDate(sum.lastDate));
    if (!ok) {
        error = journal.error();
        return false;
    }
    totals = sum;
    return true;
}

MonthTotalsText monthTotalsText(const MonthTotals& totals) {
    MonthTotalsText text;
    text.nightShiftAllowance =
        wages::numberToText(static_cast<double>(totals.nightShifts) * kNightShiftAllowance);
    text.g1 = std::to_string(totals.g1);
    text.g2 = std::to_string(totals.g2);
    text.g3 = std::to_string(totals.g3);
    text.personalLeave = std::to_string(totals.personalLeave);
    text.absence = std::to_string(totals.absence);
    text.sickLeave = std::to_string(totals.sickLeave);
    const std::string date = dateTimeToText(totals.lastDate);
    text.lastDate = date == dateTimeToText(0.0) ? "当前未加班或未记录加班！！！"_gbk
                                                : "当前加班统计到："_gbk + date;
    return text;
}

std::string pickedMonthText(DateTime picked) {
    return std::to_string(monthOf(picked));
}

}  // namespace qinghe::journal
