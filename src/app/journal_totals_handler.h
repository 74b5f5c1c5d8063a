// "读取数据库": the month of the date picker's date totalled from the journal
// into the hour boxes and the night-shift allowance, and the date the journal
// has reached into its label (journal/month_totals.h). Sets the picked-month
// text. Run at start-up too, and by "刷新" and after a deletion through
// refreshJournalMonth. A journal that cannot be read gets the record store's
// reason, and the boxes keep what they held.
#pragma once

namespace qinghe::app {

struct AppContext;

void totalJournalMonth(AppContext& app);

// "刷新": the month's totals, then the wage calculation.
void refreshJournalMonth(AppContext& app);

}  // namespace qinghe::app
