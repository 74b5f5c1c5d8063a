#include "journal/months_records.h"

namespace qinghe::journal {

bool readMonthsRecords(const JournalAccess& access, int year, int firstMonth, int lastMonth,
                       std::vector<JournalRecord>& records, StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadOnly);
    std::vector<JournalRecord> found;
    int count = 0;
    bool ok = journal.isOpen() && journal.count(count);
    for (int i = 0; ok && i < count; ++i) {
        DateTime date = 0.0;
        ok = journal.readDate(date);
        const int month = monthOf(date);
        if (ok && yearOf(date) == year && month >= firstMonth && month <= lastMonth) {
            JournalRecord record;
            ok = journal.read(record);
            found.push_back(std::move(record));
        }
        ok = ok && journal.next();
    }
    if (!ok) {
        error = journal.error();
        return false;
    }
    records.insert(records.end(), std::make_move_iterator(found.begin()),
                   std::make_move_iterator(found.end()));
    return true;
}

}  // namespace qinghe::journal
