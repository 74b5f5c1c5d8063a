// The undo log of a table: how an operation that changes a table in place
// (pack, setPassword) or replaces a table's files (sortInto, copyInto into an
// existing table) survives a crash or a failing disk at any point.
//
// One side file beside the main file, its extension replaced by ".EDJ"
// (加班.EDB -> 加班.EDJ, matched to the directory without regard to case like
// the auxiliary file). It lists what the next open must do to bring the table
// back to one whole state:
//
//   undo entries   the original bytes of ranges that the operation is about
//                  to overwrite, and the original lengths of the files, as
//                  they lie on disk (an enciphered table's bytes stay
//                  enciphered: the log never holds a password or
//                  deciphered text). Applying them restores the table as it
//                  was before the operation, without any password.
//   rename entries new files, complete and on disk under temporary names,
//                  that replace the table's files. Applying them finishes
//                  the switch (a rename whose temporary file is gone is
//                  already done).
//   table entry    the main file's name and the identities of the files the
//                  undo entries write, so that the log is applied to that
//                  table and nothing else (x.dat and x.EDB share x.EDJ; a
//                  table may be replaced after its log was left).
//
// Protocol of a writer: the log is written under a temporary name,
// flushed, renamed to its place and the directory flushed (commit); only then
// are the table's files touched; when they are changed and flushed, the
// log is removed and the directory flushed (finish). A log at its
// place is therefore always complete; its checksum guards against a disk that
// lost or tore it anyway. Until commit nothing of the table has changed, and
// after finish nothing needs to be done. Commit never replaces a log that
// lies at the place already (another table's, -12). The bytes, and what
// recovery checks before it applies anything, are in FORMAT.md (Durability).
//
// Concurrency: undo entries are written and applied under the table's
// whole-table lock, so a log that another process finds while it holds
// that lock was left by a process that died. Applying rename entries twice
// is harmless.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/clock.h"
#include "platform/file_system.h"
#include "recordstore/table_file.h"

namespace qinghe::recordstore {

// Which file of a table an undo entry belongs to.
enum class TablePart : std::uint8_t { Main = 0, Aux = 1 };

namespace undo_bytes {
enum class EntryKind : std::uint8_t;
}

// The undo log path of a main file: its extension replaced by ".EDJ".
std::string undoLogPathOf(std::string_view mainPath);

class UndoLog {
  public:
    // An undo log for the table whose main file is `mainPath` (absolute, on
    // disk); nothing is written before the first save or rename.
    UndoLog(platform::FileSystem& fs, Clock& clock, const std::string& mainPath);
    UndoLog(const UndoLog&) = delete;
    UndoLog& operator=(const UndoLog&) = delete;
    // A log that was not committed is removed; a committed one that was
    // not finished stays for the next open.
    ~UndoLog();

    // Saves the raw bytes [offset, offset + length) of a file, as far as the
    // file reaches, read in pieces (no more memory than one piece).
    Status saveRange(TablePart part, TableFile& file, std::int64_t offset, std::int64_t length);
    // Saves the file's present length, to which an undo cuts or extends it.
    Status saveLength(TablePart part, TableFile& file);
    // Records that the file named `from` (a temporary name, the file on
    // disk, whose identity the log keeps) replaces `to`; both in the log's
    // directory, as last path components.
    Status addRename(const std::string& from, const std::string& to);

    // Makes the log durable at its place: the file error, or -12 when a log
    // lies there already.
    Status commit();
    // Removes the committed log once the operation is complete and its
    // files are flushed.
    Status finish();
    // Undoes a committed log now, through the given open files (those of
    // the operation, whose locks it holds), flushes them and removes the
    // log. For an operation that fails part-way.
    Status rollBack(TableFile& main, TableFile* aux);

    const std::string& path() const { return path_; }

  private:
    Status ensureOpen();
    // Notes the identity of a file that the log saves bytes of, once.
    Status noteIdentity(TablePart part, TableFile& file);
    Status append(std::span<const std::uint8_t> bytes);
    Status appendEntry(undo_bytes::EntryKind kind, std::span<const std::uint8_t> payload);

    platform::FileSystem& fs_;
    Clock& clock_;
    std::string path_;      // its place
    std::string tempPath_;  // where it is written until commit
    std::string directory_;
    std::string mainName_;  // the table it is written for, named in the log
    platform::FileId logId_;
    platform::FileId mainId_;
    platform::FileId auxId_;
    TableFile file_;
    std::int64_t bodyLength_ = 0;
    std::int32_t entries_ = 0;
    bool committed_ = false;
};

// Applies and removes the undo log that a writer which died left beside the
// table whose main file `main` is open at `mainPath`; the caller holds its
// whole-table lock, so a writer that still works on the table would hold
// it. `main` may be closed for a log that only renames. Success when there
// is no log or it was applied (`renamed`: a file of the table was replaced,
// so that `main` may now be an old file); else the file or lock error, or
// -21 for a log that is damaged (it is left in place) or found by an open
// for reading only (which never writes).
Status recoverUnderLock(platform::FileSystem& fs, Clock& clock, const std::string& mainPath,
                        TableFile& main, bool readOnly, bool& renamed);

// The same for a table that is not open (the destination of sortInto and
// copyInto): its main file is opened for the time of the recovery and its
// whole-table lock taken, waiting up to kLockWaitMs.
Status recoverTable(platform::FileSystem& fs, Clock& clock, const std::string& mainPath);

// What an undo log holds, for `table check`: the entry counts, or -21.
struct UndoLogSummary {
    int undoEntries = 0;
    int renameEntries = 0;
};
Status readUndoLogSummary(platform::FileSystem& fs, const std::string& logPath,
                          UndoLogSummary& summary);

}  // namespace qinghe::recordstore
