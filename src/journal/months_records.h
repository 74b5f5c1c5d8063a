// The journal's records of some months of one year, read in one pass: what
// the month calendar and the year chart show.
//
// A record belongs when the year and the month of its date are those asked
// for, the same test by which the month's totals (month_totals.h) count it.
// Every record's date is read; only the records that belong are read whole,
// so that a journal of many years costs about one pass over its dates.
#pragma once

#include <vector>

#include "journal/journal_access.h"

namespace qinghe::journal {

// Opens the journal read-only and appends to `records`, in file order, every
// record dated in `year` with a month from `firstMonth` to `lastMonth` (both
// included, 1..12). On failure `records` is left as it was.
bool readMonthsRecords(const JournalAccess& access, int year, int firstMonth, int lastMonth,
                       std::vector<JournalRecord>& records, StoreError& error);

}  // namespace qinghe::journal
