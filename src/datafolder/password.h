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

// The folder's tables besides the journal that are there and refuse
// `password` (GBK) as a wrong one (-78), by name (GBK), in the order of
// kFolderTables. A table that fails to open for another reason is not one.
std::vector<std::string_view> tablesRefusing(const DataFolder& folder, const std::string& password);

// Brings the folder's table `name` from `oldPassword` to `password` (empty:
// none). False with the reason; a wrong `oldPassword` fails with -78,
// `opening` set, and changes nothing.
bool bringToPassword(const DataFolder& folder, std::string_view name,
                     const std::string& oldPassword, const std::string& password,
                     journal::StoreError& error);

}  // namespace qinghe::datafolder
