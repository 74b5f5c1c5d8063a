// The data folder's password: every table of the folder (kFolderTables)
// opens with the same one, and a change reaches all of them or none.
//
// A change is made one table after the other, the journal last, each
// table's own change being whole (the record store's undo log). A failure
// gives the tables changed before it their old password back; a crash
// between two tables, or a disk too full for that, leaves those changed
// with the new password and the rest with the old one. The journal decides:
// at the next start the person gives the journal's password, and each other
// table that refuses it (tablesRefusing) is opened with its own and brought
// to the journal's (bringToPassword).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "datafolder/data_folder.h"

namespace qinghe::datafolder {

// True when every table of the folder that is there opens for writing with
// `password` (GBK); else false with the reason of the first that does not
// (`opening` set). The journal must be there; a table that the folder gains
// later is passed over while it is missing.
bool opensWith(const DataFolder& folder, const std::string& password, journal::StoreError& error);

// Changes the password of every table of the folder that is there from
// `password` to `newPassword` (empty: none), one table after the other, the
// journal last. When one cannot be changed, those changed before it get
// `password` back (as far as the disk lets them), and the result is false
// with the reason; the journal then has `password`.
bool changePassword(const DataFolder& folder, const std::string& password,
                    std::string_view newPassword, journal::StoreError& error);

// A failure of one of the folder's tables, as the person is told it (GBK).
struct TableFailure {
    bool damaged = false;  // the table's files are damaged: no password opens it
    std::string reason;  // "文件已损坏，" and what is damaged, or the record store's message
    std::string named;   // the reason after the table's shown name ("工资记录：…",
                         // "工资记录文件已损坏，…")
};

// Why the folder's table `table` failed with `error` when it was opened with
// `password`. Damaged: the record store found the files damaged -- a
// regular file without a table's bytes (-22; a FIFO or a device in the
// table's place is not damaged, merely no table), a damaged auxiliary file
// (-35 to -37) -- or the table
// refuses `password` by a damaged password check alone (-78,
// recordstore/check.h: the reason then "文件已损坏，密码校验部分已损坏，任何
// 密码都打不开").
TableFailure explainFailure(const DataFolder& folder, const FolderTable& table,
                            const std::string& password, const journal::StoreError& error);

// A table of the folder besides the journal that refuses the folder's
// password: one with another password, or a damaged one.
struct RefusingTable {
    const FolderTable* table = nullptr;
    TableFailure failure;
};

// The folder's tables besides the journal that are there and refuse
// `password` (GBK) as a wrong one (-78) or because they are damaged
// (explainFailure), in the order of kFolderTables. A table that fails to
// open for another reason (held by another process, a folder that cannot
// be read) is not one.
std::vector<RefusingTable> tablesRefusing(const DataFolder& folder, const std::string& password);

// Brings the folder's table `name` from `oldPassword` to `password` (empty:
// none). False with the reason; a wrong `oldPassword` fails with -78,
// `opening` set, and changes nothing.
bool bringToPassword(const DataFolder& folder, std::string_view name,
                     const std::string& oldPassword, const std::string& password,
                     journal::StoreError& error);

}  // namespace qinghe::datafolder
