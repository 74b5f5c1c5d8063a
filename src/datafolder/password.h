// The data folder's password: every table of the folder (kFolderTables)
// opens with the same one, and a change reaches all of them or none.
#pragma once

#include <string>
#include <string_view>

#include "datafolder/data_folder.h"

namespace qinghe::datafolder {

// True when every table of the folder that is there opens for writing with
// `password` (GBK); else false with the reason of the first that does not
// (`opening` set). The journal must be there; a table that the folder gains
// later is passed over while it is missing.
bool opensWith(const DataFolder& folder, const std::string& password, journal::StoreError& error);

// Changes the password of every table of the folder that is there from
// `password` to `newPassword` (empty: none), one table after the other. When
// one cannot be changed, those changed before it get `password` back, and
// the result is false with the reason.
bool changePassword(const DataFolder& folder, const std::string& password,
                    std::string_view newPassword, journal::StoreError& error);

}  // namespace qinghe::datafolder
