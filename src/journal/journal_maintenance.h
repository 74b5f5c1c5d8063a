// The journal's maintenance: deleting the last record, sorting by date,
// emptying, and changing the password (the four buttons of "数据库操作").
//
// Deleting asks first, naming the last record's date, and then deletes only
// that record: when the journal changed in between (another process appended
// or deleted), nothing is deleted.
//
// Sorting writes the records in date order beside the journal under a
// temporary name of it (platform/temporary_files.h), complete and flushed,
// and then renames that over 加班.EDB in one step: a crash at any moment
// leaves the old or the sorted journal, whole, and what an interrupted sort
// left is the journal's own temporary, which `table check` lists and the
// next open for writing removes. The sorted journal keeps the old one's
// permission bits (and, for a journal kept as a link, its place: the link's
// target). The journal is open exclusively meanwhile, so no other process
// can append to the file being replaced; one that opened it just before the
// move finds, once it holds its locks, that the path names the sorted
// journal, and opens that (recordstore/FORMAT.md). A failed sort leaves the
// journal as it was and nothing beside it.
#pragma once

#include <string>
#include <string_view>

#include "journal/journal_access.h"

namespace qinghe::journal {

// The last record as the person is asked about it.
struct LastRecord {
    int count = 0;
    DateTime date = 0.0;  // 0 (1899-12-30) for an empty journal
};

// Opens the journal and reads the record count and the last record's date.
bool readLastRecord(const JournalAccess& access, LastRecord& last, StoreError& error);

// "确认要删除" + dateTimeToText(date) + "的加班记录！" (GBK).
std::string deleteQuestion(DateTime date);

enum class DeleteOutcome {
    Deleted,  // the last record is gone, the file packed
    Empty,    // the journal holds no record; nothing changed
    Changed,  // the journal no longer ends with `confirmed`; nothing changed
    Failed,   // see the error
};

// Deletes the last record and packs the table, when the journal still holds
// `confirmed.count` records and the last one is dated `confirmed.date`.
DeleteOutcome removeLastRecord(const JournalAccess& access, const LastRecord& confirmed,
                               StoreError& error);

// Sorts the journal by date, ascending, as described above.
bool sortByDate(const JournalAccess& access, StoreError& error);

// Removes every record, opening the journal with `access.password` (the
// clear operation's own typed password).
bool removeAllRecords(const JournalAccess& access, StoreError& error);

// Creates the journal with its ten fields and, when `access.password` is not
// empty, gives it that password. Refuses an existing journal (code -2,
// "创建数据库失败：数据库已经存在"); a journal that could not be given its
// password is removed again.
bool createJournal(const JournalAccess& access, StoreError& error);

}  // namespace qinghe::journal
