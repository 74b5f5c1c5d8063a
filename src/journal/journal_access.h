// How the journal's operations reach the journal: the record store, the file
// system under it, the folder that holds 加班.EDB and the password (the data
// folder, datafolder/data_folder.h, hands these out); and the journal opened
// for the length of one operation.
//
// Every operation opens the journal at its start and closes it before it
// returns, so no table stays open between operations. An open succeeds only
// when the table has the journal's ten fields and no other (by name, without
// regard to the case of ASCII letters, and of the journal's types): reads then never reach
// the record store's fatal error, whatever file lies in the folder. A table
// whose fields are in another order is read and appended to by name.
//
// Failures carry the record store's own code and message. A table without
// one of the fields fails with -61 ("指定字段不存在"), one with a field of
// another type with -70 ("字段类型错误"), one with fields beyond the ten with
// -70 and the message "加班记录的字段与本程序不符"; a folder whose path has no
// GBK form, reached through a file system not rooted at it, or whose named
// part holds "\" (which the record store reads as a separator) with -4
// ("无效的路径").
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "journal/journal_record.h"
#include "platform/file_system.h"
#include "recordstore/record_store.h"

namespace qinghe::journal {

struct JournalAccess {
    recordstore::Registry& store;
    platform::FileSystem& fs;  // the file system under `store`
    std::string directory;     // the folder that holds the journal (UTF-8)
    std::string password;      // GBK; empty for a journal without password
};

// A failed step: the record store's code and message (GBK), and whether it
// was the open of the journal that failed.
struct StoreError {
    int code = 0;
    std::string message;
    bool opening = false;
};

// The calling thread's last record-store error.
StoreError lastStoreError();

// The record store's GBK path of the file `utf8Path` reached through `fs`:
// relative to fs's current directory when it lies inside it, so that the
// path of that folder itself needs no GBK form (the data folder's file
// system is rooted there: platform/rooted_file_system.h); empty when what
// must be named has no GBK form or holds "\".
std::string storePath(platform::FileSystem& fs, const std::string& utf8Path);

// The record store's GBK path of the table `gbkName` in `directory` (UTF-8)
// reached through `fs`: "加班" when `directory` is fs's current directory,
// else for example "/home/li/.local/share/qinghe/加班"; empty when it has no
// GBK form.
std::string tablePathIn(platform::FileSystem& fs, const std::string& directory,
                        std::string_view gbkName);

enum class OpenMode {
    ReadWrite,  // others may read and write meanwhile (the record store's default)
    ReadOnly,   // the same sharing; this open cannot change the file
    Exclusive,  // read and write; no other process may open the file meanwhile
};

// Opens the table at the record-store path `table` (GBK) with `password`
// in `mode`, as the current table of `store`; false with the record store's
// last error. An open for reading only first lets one open for writing finish
// what an interrupted pack, sort or password change left, and cut back a
// table whose count passes the records its file holds whole (noted in the
// registry's dropped records), which an open for reading alone never does.
bool openStoreTable(recordstore::Registry& store, const std::string& table, OpenMode mode,
                    const std::string& password);

// The journal, open from construction to destruction and current meanwhile.
class OpenJournal {
  public:
    OpenJournal(const JournalAccess& access, OpenMode mode);
    OpenJournal(const OpenJournal&) = delete;
    OpenJournal& operator=(const OpenJournal&) = delete;
    ~OpenJournal();

    // False when the open failed; error() says why (opening = true).
    bool isOpen() const { return open_; }
    const StoreError& error() const { return error_; }

    // The record count (records marked deleted included); false on failure.
    bool count(int& n);
    // The current record, its date alone, or its whole-number fields alone;
    // false on failure.
    bool read(JournalRecord& record);
    bool readDate(DateTime& date);
    bool readIntegers(JournalRecord& record);
    // Moves one record forward; past the last record once.
    bool next();
    bool goLast();
    // Appends a record and makes it current.
    bool append(const JournalRecord& record);
    // Sets the table's password (empty: none). From then on the journal
    // opens with the new one only.
    bool setPassword(std::string_view password);
    // Removes the current record for good (the record store's
    // removeCurrent): a failure leaves the journal as it was.
    bool removeCurrent();
    // Removes every record.
    bool removeAll();
    // Rewrites the journal in date order (ascending, equal dates in file
    // order): the sorted table is written beside the journal under a
    // temporary name, complete and flushed, and replaces the journal in one
    // rename (the record store's sortInto of a table into its own file).
    // Only a journal open in OpenMode::Exclusive may (else -12); it is closed
    // afterwards.
    bool sortByDate();
    // Copies the records in file order into the table at `gbkTablePath` (a
    // record-store path), replacing an older one.
    bool copyTo(const std::string& gbkTablePath);

  private:
    bool fail();
    // A step of the store that reports through the last error: its result,
    // with error() set on failure.
    bool step(bool done) { return done || fail(); }
    int number(Field field) const { return numbers_[static_cast<std::size_t>(field) - 1]; }

    recordstore::Registry& store_;
    platform::FileSystem& fs_;
    bool open_ = false;
    StoreError error_;
    std::array<int, kFieldCount> numbers_{};  // each journal field's number in this table
};

}  // namespace qinghe::journal
