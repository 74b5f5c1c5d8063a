// The journal's daily backup, 数据库备份/加班备份.edb in the data folder: a
// copy of the journal (the record store's copy, same fields and password);
// and beside it the pay record's, 数据库备份/工资记录备份.edb, made the same way.
//
// Each is due at most once a day: when its table holds records and its
// backup is not of today, by the local date of its last write (no backup
// counts as 1 January 100). A backup dated after today (written while the
// clock was ahead) would otherwise hold every backup back until that day: it
// is replaced, and the outcome says so. An empty table is never backed up,
// and two empty ones make no folder 数据库备份 (which is made private). A
// journal that cannot be opened (held by another process, another password)
// is a failure with the reason, never a silent skip.
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
    NotDue,                  // empty tables, or backups made today already
    Made,                    // over an older backup, or where there was none
    MadeOverFuture,          // over a backup dated after today
    Failed,                  // the journal's failed: see the error (`opening` set when
                             // the journal did not open)
    PayRecordFailed,         // the journal's not due, the pay record's failed
    MadeButPayRecordFailed,  // the journal's made, the pay record's failed
};

// Backs up the journal of `folder`, opened with `password` (GBK), when a
// backup is due on the local date of `now`, and then the pay record when
// its backup is due: Failed when the journal's failed (the pay record's is
// not tried), one of the PayRecord outcomes when the pay record's failed
// (the error's message then the reason as password.h explains it: a damaged
// pay record said so), else MadeOverFuture when either replaced a backup
// dated after today, Made when either was made. A folder in a backup's place
// (or a file in the backup folder's) is a failure said in words.
BackupOutcome backUpJournal(const DataFolder& folder, const std::string& password, DateTime now,
                            journal::StoreError& error);

}  // namespace qinghe::datafolder
