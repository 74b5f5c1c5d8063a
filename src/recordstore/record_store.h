// Public header of the record store (README.md lists the others).
//
// The record store: a process-wide registry of open tables with one current
// table, and the operations on tables and their records.
//
// Texts (file names, aliases, field names, passwords, text values) are GBK.
// File names on disk are UTF-8; "\" and "/" both separate directories; names
// match the files on disk without regard to the case of ASCII letters, so
// 加班, 加班.edb and 加班.EDB name one file. A table reached through a
// symbolic link is the link's target (names.h, tableFileOnDisk). New files
// are private to the person who runs the program (platform/file_system.h).
//
// Results. Every operation clears the calling thread's last error (errors.h)
// when it starts and sets it when it ends; a boolean result is true exactly
// when the last error is 0; an operation that needs the current table fails
// with -67 when there is none. Nothing is thrown. The one exception to the
// boolean convention is readField, which stops the program through the fatal
// error handler when there is no current table or no such field.
//
// Between processes. A table opened in sharing mode 1 (the default) may be
// used by other processes at the same time: appends, reads and deletions are
// guarded by byte-range locks (the record's first byte, the count at offset
// 16, the whole table), see FORMAT.md. Locks wait up to 2000 ms of the clock
// for a conflicting holder before failing with -13.
//
// Reading ahead. readField and skip read records in runs (up to 32 KiB)
// under shared locks of the count and of the records' first bytes, and serve
// the following reads of that run from memory for at most 20 ms of the
// clock. Fixed-size fields of records below the count
// change on disk only through pack and zap, which always change the count or
// the next record number, so a read that reaches disk again sees the change;
// memo and byte-array values are always read from disk under the record's
// lock. Any write through this registry drops what was read ahead.
//
// Threads. A Registry is used by one thread at a time; the last error is kept
// per thread.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "platform/file_system.h"
#include "recordstore/errors.h"
#include "recordstore/prompt.h"
#include "recordstore/schema.h"
#include "recordstore/value.h"

namespace qinghe::recordstore {

struct OpenTable;  // the state of one open table, private to the record store

// Records that an open for writing dropped from a table's record count: the
// count counted more whole records than the main file holds (a copy or a
// restore cut short, a crash on a system that wrote the count first), and
// the open lowered it to the records there (FORMAT.md, repairs on opening).
struct DroppedRecords {
    std::string path;  // the main file, absolute, UTF-8
    std::int32_t records = 0;
};

class Registry {
  public:
    explicit Registry(platform::FileSystem& fs = platform::posixFileSystem(),
                      Clock& clock = systemClock());
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;
    ~Registry();  // closes every table still open

    // The dialog that openTable shows for the password "?"; none: such an
    // open fails with -78.
    void setPasswordPrompt(PasswordPrompt* prompt) { prompt_ = prompt; }

    // Writes a new empty table without password and does not open it. The
    // field list ends at the first field with an empty name. An existing
    // table of the same name is replaced, unless another open holds it
    // (-12); the new files are written beside it and renamed over it, so a
    // failed create leaves the old files as they were (and the new ones take
    // their modes; see sortInto for links).
    bool createTable(std::string_view file, std::span<const FieldSpec> fields);

    // Opens a table, appends it to the registry and makes it current at
    // record position 0. `shareMode` 1 lets others read and write, 2 lets
    // them write, 3 read, any other value neither. A password of "?" asks
    // through the prompt. Index files are not supported: naming any fails
    // with -30. A pack or password change under way in another process is
    // waited for as a lock is; an undo log that an interrupted one left is
    // applied first by an open for writing, and refused (-21) by an open for
    // reading only, which never writes.
    bool openTable(std::string_view file, std::string_view alias = {}, bool readOnly = false,
                   int shareMode = 1, std::string_view password = {},
                   std::span<const std::string> indexFiles = {});

    // Without a name closes the current table (none current: nothing). With a
    // name closes the most recently opened table with that alias, else the
    // one with that file title, else the one with that full path. The files
    // are flushed when they were written to; a flush that fails is the last
    // error (what was written may not be on the disk), the table is closed
    // all the same.
    void closeTable(std::optional<std::string_view> name = std::nullopt);

    // The record count, records marked deleted included; 0 on failure.
    int recordCount();
    // The value of a field (by name, or by number from 1) in the current
    // record; on failure the zero value of the field's type.
    Value readField(std::string_view name);
    Value readField(int number);
    bool skip(int n = 1);
    bool goLast();
    // Appends one record with values for fields 1, 2, ... (nullopt or fewer
    // values: the field stays zero) and makes it current. Numeric values are
    // converted to a numeric field's type (fractions cut toward zero, out of
    // range values saturated, NaN as 0); any other mismatch fails with -72.
    bool appendRecord(std::span<const std::optional<Value>> values);
    bool appendRecord(std::initializer_list<std::optional<Value>> values) {
        return appendRecord(std::span<const std::optional<Value>>(values.begin(), values.size()));
    }
    // Marks the current record deleted. Conditions are not supported: a
    // non-empty one fails with -75.
    bool deleteCurrent(std::string_view condition = {});
    bool pack();
    // Removes the current record for good: as deleteCurrent and pack, in one
    // step whose undo log holds the record unmarked, so that a failure or a
    // crash at any point leaves the table as it was (the record there and not
    // marked deleted), now or after the next open for writing. -60 when
    // there is no current record.
    bool removeCurrent();
    bool zap();

    // Writes the current table's records, ordered by the key fields, into a
    // new table file (default extension as for any table) with the same
    // structure (or the fields named in `fields`), password and cipher. Keys
    // compare by their type (numbers numerically, bool false first, date-times
    // by the instant, text byte-wise with case significant); a key's order is
    // descending when its flag in `ascending` is false (keys beyond the flags
    // ascend); equal keys keep their file order. The k-th record written gets
    // the number k, negated for a record marked deleted. -71 for a key that
    // is missing or a memo or byte array, -40 for a field to copy that does
    // not exist, -75 for a condition (not supported).
    //
    // The new files are written under temporary names, flushed, and moved
    // over an existing table of that name only when complete (both files at
    // once, through the destination's undo log, see FORMAT.md): a failed sort
    // leaves the old destination as it was. The new files take the modes of
    // those they replace; a destination reached through a symbolic link is
    // replaced at the link's target. An existing destination that another
    // open holds is not replaced (-12). The current table and its position
    // are unchanged -- unless the destination is the current table's own
    // file: an open in sharing mode 4 for writing replaces its table with
    // the new one and is closed, its file being no longer the table's (in
    // another mode -12, for reading only -6).
    bool sortInto(std::string_view file, std::span<const std::string> keys,
                  std::span<const bool> ascending = {}, std::string_view condition = {},
                  std::span<const std::string> fields = {});
    // The same in file order, without keys.
    bool copyInto(std::string_view file, std::string_view condition = {},
                  std::span<const std::string> fields = {});
    // Sets, changes (or with an empty text removes) the password and
    // re-enciphers both files in place. "?" fails with -80; while another
    // open of the table exists (in any process), which would go on with the
    // old key, the change fails with -12 and nothing is written. The original
    // bytes are saved in the table's undo log first: a failure part-way rolls
    // the table back under the old password (-79), and a crash leaves a
    // log that the next open applies, so the table always opens with
    // the old or the new password, every record intact.
    bool setPassword(std::string_view password);

    // Tools: the current table's description, the current position, and the
    // signed number of the current record (0 on failure, with the code).
    std::optional<TableInfo> currentTableInfo();
    std::int64_t position() const;
    std::int32_t recordNumber();

    // The records that opens of this registry dropped since the last call,
    // oldest first (so that the person can be told what was lost).
    std::vector<DroppedRecords> takeDroppedRecords();

  private:
    platform::FileSystem& fs_;
    Clock& clock_;
    PasswordPrompt* prompt_ = nullptr;
    std::vector<std::unique_ptr<OpenTable>> tables_;  // in the order of opening
    OpenTable* current_ = nullptr;
    std::vector<DroppedRecords> dropped_;
};

// The process's registry (the machine's file system and clock).
Registry& registry();

// The operations on the process's registry, under their own names.
inline bool createTable(std::string_view file, std::span<const FieldSpec> fields) {
    return registry().createTable(file, fields);
}
inline bool openTable(std::string_view file, std::string_view alias = {}, bool readOnly = false,
                      int shareMode = 1, std::string_view password = {}) {
    return registry().openTable(file, alias, readOnly, shareMode, password);
}
inline void closeTable(std::optional<std::string_view> name = std::nullopt) {
    registry().closeTable(name);
}
inline int recordCount() {
    return registry().recordCount();
}
inline Value readField(std::string_view name) {
    return registry().readField(name);
}
inline Value readField(int number) {
    return registry().readField(number);
}
inline bool skip(int n = 1) {
    return registry().skip(n);
}
inline bool goLast() {
    return registry().goLast();
}
inline bool appendRecord(std::initializer_list<std::optional<Value>> values) {
    return registry().appendRecord(values);
}
inline bool appendRecord(std::span<const std::optional<Value>> values) {
    return registry().appendRecord(values);
}
inline bool deleteCurrent() {
    return registry().deleteCurrent();
}
inline bool pack() {
    return registry().pack();
}
inline bool zap() {
    return registry().zap();
}
inline bool sortInto(std::string_view file, std::span<const std::string> keys,
                     std::span<const bool> ascending = {}) {
    return registry().sortInto(file, keys, ascending);
}
inline bool copyInto(std::string_view file) {
    return registry().copyInto(file);
}
inline bool setPassword(std::string_view password) {
    return registry().setPassword(password);
}

}  // namespace qinghe::recordstore
