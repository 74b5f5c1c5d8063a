// Public header of the record store (README.md lists the others).
//
// Validating a table without changing it (qinghe-cli table check).
//
// Reads the main file, the auxiliary file and the undo log as they lie on
// disk, with no lock and no repair, and lists every problem found: the
// header and the descriptors (the checks of an open), the file sizes against
// the record and block counts, record numbers against the next number, the
// password (the body is checked only when the given password opens it), every
// memo and byte-array chain (blocks in range, used counts, back links, no
// block in two chains or both in a chain and on the free list), the free
// list, and blocks that no chain and no free list holds (leaked by an append
// or a pack that a crash cut short). An undo log left by an interrupted
// operation is reported too (the next open applies it), and so are the
// temporary files that interrupted operations left beside the table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace qinghe::recordstore {

struct CheckReport {
    std::vector<std::string> problems;  // one line each, English, ASCII
    std::int64_t records = 0;           // records checked
    std::int64_t chainBlocks = 0;       // blocks in use by memo and byte-array values
    bool sound() const { return problems.empty(); }
};

// Checks the table `file` (GBK name; default extension and case-insensitive
// match as for openTable), deciphering with `password` (GBK; empty for none).
CheckReport checkTable(platform::FileSystem& fs, std::string_view file, std::string_view password);

// True when the table `file` (named as for checkTable) refuses `password`
// (GBK) only because its password check is damaged: its main file says it
// has a password, and its header and field descriptors read soundly --
// deciphered with `password`, or plain -- while the check string (offset 28)
// refuses it. A table whose password is another reads as noise there. No
// password opens such a table; checkTable names it.
bool passwordCheckDamaged(platform::FileSystem& fs, std::string_view file,
                          std::string_view password);

// True when an undo log lies beside the table `file` (named as for
// checkTable): an interrupted operation's, which an open for writing applies
// and an open for reading only refuses (-21).
bool hasUndoLog(platform::FileSystem& fs, std::string_view file);

}  // namespace qinghe::recordstore
