// The files that lie beside a table's main file in its directory, seen from
// the table: temporary files that interrupted operations left (its own, its
// auxiliary file's and its undo log's), and the other tables whose
// auxiliary file would be the same file as its own.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "recordstore/status.h"

namespace qinghe::recordstore {

// The temporary files (platform/temporary_files.h) of the table whose main file is `mainPath`:
// names in its directory that are temporary names of its main file, its
// auxiliary file or its undo log.
std::vector<std::string> temporariesOf(platform::FileSystem& fs, const std::string& mainPath);

// Removes those temporaries whose maker is gone (platform/temporary_files.h:
// no live process has the id in the name, and no open file holds a lock on
// it, as a table file's sharing bytes are); none while an undo log lies
// beside the table. Others are left (table check lists them). Best effort: a
// file that cannot be removed stays.
void removeStaleTemporaries(platform::FileSystem& fs, const std::string& mainPath);

// -50 when the auxiliary file of a new table at `mainPath` would be the
// auxiliary file of another table: another main file of the directory, with
// a table's magic, whose auxiliary file has the same name.
Status refuseSharedAuxiliary(platform::FileSystem& fs, const std::string& mainPath);

}  // namespace qinghe::recordstore
