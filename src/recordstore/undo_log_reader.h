// The bytes of an undo log (FORMAT.md, Durability) and a committed log read
// back: checked whole against its checksum, then entry by entry. Private to
// the record store; the writer (undo_log.cpp) and recovery (recovery.cpp)
// share it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "recordstore/format.h"
#include "recordstore/status.h"
#include "recordstore/table_file.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore::undo_bytes {

inline constexpr std::array<std::uint8_t, format::kMagicSize> kLogMagic = {'W', 'E', 'D', 'J'};
// Version 2 names and identifies its table; version 1 (written before) does
// not, and is still read.
inline constexpr std::int32_t kLogVersion = 2;
inline constexpr std::int32_t kOldestLogVersion = 1;

// Header (32 bytes): magic, version, entry count, zero, body length (int64),
// checksum of the body (uint64).
inline constexpr std::size_t kLogHeaderSize = 32;
inline constexpr std::size_t kLogVersionOffset = 4;
inline constexpr std::size_t kLogEntriesOffset = 8;
inline constexpr std::size_t kLogBodyLengthOffset = 16;
inline constexpr std::size_t kLogChecksumOffset = 24;

// Entry head (16 bytes): kind, table part, two zero bytes, int64 value
// (offset of saved bytes, or a saved length), int32 payload length; then the
// payload.
inline constexpr std::size_t kEntryHeadSize = 16;
inline constexpr std::size_t kEntryKindOffset = 0;
inline constexpr std::size_t kEntryPartOffset = 1;
inline constexpr std::size_t kEntryValueOffset = 4;
inline constexpr std::size_t kEntryPayloadOffset = 12;
enum class EntryKind : std::uint8_t { Bytes = 1, Length = 2, Rename = 3, Table = 4 };

// Bytes are saved, checked and restored in pieces of this size.
inline constexpr std::size_t kPieceSize = 65536;

// A file identity in a payload: uint64 device, uint64 inode.
inline constexpr std::size_t kIdentitySize = 16;
// The payload of a rename or table entry is never longer (two names of at
// most 255 bytes, their lengths, identities).
inline constexpr std::int32_t kMaxNamesPayload = 4096;

std::array<std::uint8_t, kEntryHeadSize> entryHead(EntryKind kind, TablePart part,
                                                   std::int64_t value, std::int32_t payload);
void appendIdentity(std::vector<std::uint8_t>& out, const platform::FileId& id);

// The checksum of the `length` body bytes of a log, read in pieces.
Status checksumOfBody(TableFile& file, std::int64_t length, std::uint64_t& value);

}  // namespace qinghe::recordstore::undo_bytes

namespace qinghe::recordstore {

// What a version 2 log says of its table: the main file's name (last
// component), and the identities of the log itself as it was written and of
// the files its undo entries write (zero for one they do not write).
struct LoggedTable {
    std::string name;
    platform::FileId log;
    platform::FileId main;
    platform::FileId aux;
};

// A rename entry: the temporary file `from` replaces `to` (last components);
// version 2 gives the temporary file's identity.
struct LoggedRename {
    std::string from;
    std::string to;
    platform::FileId id;
};

class UndoLogReader {
  public:
    explicit UndoLogReader(TableFile& file) : file_(file) {}

    // Reads the header and checks the body against its checksum (-21).
    Status check();
    std::int32_t version() const { return version_; }

    struct Entry {
        undo_bytes::EntryKind kind;
        TablePart part;
        std::int64_t value;
        std::int64_t payloadAt;  // body position of the payload
        std::int32_t payload;
    };

    // Visits every entry in order; stops at the first visitor failure.
    template <typename Visit>
    Status forEach(Visit visit) {
        std::int64_t at = 0;
        for (std::int32_t i = 0; i < entries_; ++i) {
            Entry e{};
            if (Status status = entryAt(at, e); !status.ok()) return status;
            if (Status status = visit(e); !status.ok()) return status;
            at = e.payloadAt + e.payload;
        }
        return {};
    }

    // Applies the undo entries through `main` and `aux` (either may be
    // closed when no entry needs it): the saved lengths, then the saved
    // bytes; flushes the files. Rename and table entries are left out.
    Status applyUndo(TableFile& main, TableFile& aux);
    // The payload of a rename entry (-21 when it is not one of two single
    // path components).
    Status rename(const Entry& e, LoggedRename& rename);
    // The payload of a table entry.
    Status table(const Entry& e, LoggedTable& table);

  private:
    Status entryAt(std::int64_t at, Entry& e);
    Status smallPayload(const Entry& e, std::vector<std::uint8_t>& bytes);
    // Copies an entry's payload to `target` at its offset, raw, in pieces.
    Status copyPayload(const Entry& e, TableFile& target);

    TableFile& file_;
    std::int32_t version_ = 0;
    std::int32_t entries_ = 0;
    std::int64_t bodyLength_ = 0;
};

}  // namespace qinghe::recordstore
