// The state of one open table (private to the record store).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "platform/file_system.h"
#include "recordstore/format.h"
#include "recordstore/layout.h"
#include "recordstore/read_ahead.h"
#include "recordstore/status.h"
#include "recordstore/table_file.h"

namespace qinghe::recordstore {

// One open table: its files, names, header and layout, and where it stands.
struct OpenTable {
    OpenTable(platform::FileSystem& fileSystem, Clock& timeSource)
        : fs(fileSystem),
          clock(timeSource),
          main(fileSystem, timeSource),
          auxFile(fileSystem, timeSource) {}

    platform::FileSystem& fs;
    Clock& clock;
    TableFile main;
    TableFile auxFile;  // open only when a field is a memo or byte array
    std::string path;   // absolute, UTF-8
    std::string title;  // file title, GBK
    std::string alias;  // GBK, possibly empty
    platform::FileId id;
    bool readOnly = false;
    ShareMode share = ShareMode::DenyNone;
    std::array<std::uint8_t, format::kHeaderSize> header{};  // deciphered copy
    Layout layout;
    std::vector<std::string> foldedNames;  // foldName of each field name
    std::int64_t position = 0;
    ReadAhead ahead;

    bool hasAux() const { return auxFile.isOpen(); }
    std::int64_t recordOffset(std::int64_t at) const {
        return layout.dataOffset + at * layout.recordLength;
    }
    // The number (from 1) of the field called `name` without regard to
    // letter case, or 0 when there is none.
    int fieldNumber(std::string_view name) const;
};

// How an operation uses the current table.
enum class Access { Read, Write };

// -6 when `table` was opened read-only; else what it read ahead is dropped,
// since the operation is about to write.
Status requireWritable(OpenTable& table);

// Runs one public operation on the current table and reports it (see
// report): -67 when there is none, for Access::Write -6 as requireWritable
// gives it, else what `body(table)` returns.
template <typename Body>
bool reportOn(OpenTable* current, Access access, Body&& body) {
    return report([&]() -> Status {
        if (!current) return Status::fail(error::kNoCurrentTable);
        if (access == Access::Write) {
            if (Status status = requireWritable(*current); !status.ok()) return status;
        }
        return body(*current);
    });
}

// Stops the program through the installed fatal error handler (GBK message);
// when the handler returns, gives the code as a failure.
Status raiseFatalError(int code, const std::string& message);

}  // namespace qinghe::recordstore
