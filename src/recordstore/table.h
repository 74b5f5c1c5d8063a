// The state of one open table (private to the record store).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/clock.h"
#include "recordstore/file_system.h"
#include "recordstore/format.h"
#include "recordstore/layout.h"
#include "recordstore/read_ahead.h"
#include "recordstore/table_file.h"

namespace qinghe::recordstore {

// One open table: its files, names, header and layout, and where it stands.
struct OpenTable {
    OpenTable(FileSystem& fs, Clock& clock) : main(fs, clock), auxFile(fs, clock) {}

    TableFile main;
    TableFile auxFile;  // open only when a field is a memo or byte array
    std::string path;   // absolute, UTF-8
    std::string title;  // file title, GBK
    std::string alias;  // GBK, possibly empty
    FileId id;
    bool readOnly = false;
    std::array<std::uint8_t, format::kHeaderSize> header{};  // deciphered copy
    Layout layout;
    std::vector<std::string> foldedNames;  // foldName of each field name
    std::int64_t position = 0;
    ReadAhead ahead;

    bool hasAux() const { return auxFile.isOpen(); }
    std::int64_t recordOffset(std::int64_t at) const {
        return layout.dataOffset + at * layout.recordLength;
    }
};

// Stops the program through the installed fatal error handler (GBK message);
// returns only when the handler returns.
void raiseFatalError(int code, const std::string& message);

}  // namespace qinghe::recordstore
