// The journal's daily backup, 数据库备份/加班备份.edb in the data folder: a
// copy of the journal (the record store's copy, same fields and password);
// and beside it the pay record's, 数据库备份/工资记录备份.edb, made the same way.
//
// Each is due at most once a day: when its table holds records and its
// backup is older than today, by the local date of its last write (no backup
// counts as 1 January 100). An empty table is never backed up, and two empty
// ones make no folder 数据库备份 (which is made private).
//
// The copy is written beside the old backup and moved over it only when
// complete, keeping the old one's mode and link: a backup that fails
// part-way leaves the previous one as it was.
#pragma once

#include <string>

#include "common/datetime.h"
#include "datafolder/data_folder.h"

namespace qinghe::datafolder {

enum class BackupOutcome {
    NotDue,  // an empty journal, or a backup made today already
    Made,
    Failed,  // see the error
};

// Backs up the journal of `folder`, opened with `password` (GBK), when a
// backup is due on the local date of `now`, and then the pay record when
// its backup is due: Made when either was made, Failed (with the first
// error) when either failed.
BackupOutcome backUpJournal(const DataFolder& folder, const std::string& password, DateTime now,
                            journal::StoreError& error);

}  // namespace qinghe::datafolder
