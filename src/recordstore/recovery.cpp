// Recovery: applying the undo log that an interrupted operation left beside a
// table (undo_log.h). A log is a file that anyone who can write the folder
// can put there, so nothing of it is applied before the whole of it has been
// read and checked: it must be this table's (a log of version 2 names and
// identifies its table), its undo entries must write the table's own files
// (regular files, not links, with their magic), and its renames may only move
// the table's own temporary files onto the table's own files.
#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/paths.h"
#include "platform/temporary_files.h"
#include "recordstore/errors.h"
#include "recordstore/format.h"
#include "recordstore/names.h"
#include "recordstore/table_locks.h"
#include "recordstore/undo_log.h"
#include "recordstore/undo_log_reader.h"

namespace qinghe::recordstore {
namespace {

using namespace format;
using namespace undo_bytes;

// A log that asks for what it may not do fails the open like a damaged one
// and stays for inspection.
constexpr Status kRefused = Status::fail(error::kOpenFailed);

// What a log asks of the table, read whole before anything is written.
struct Plan {
    bool writesMain = false;
    bool writesAux = false;
    bool named = false;  // version 2: `table` says whose log it is
    LoggedTable table;
    struct Move {
        std::string from;  // paths
        std::string to;
        platform::FileId id;  // of `from`, when the log gives it
        TablePart part;
    };
    std::vector<Move> moves;
};

// The paths of a table's two files, as recovery writes them.
struct TablePaths {
    std::string main;
    std::string aux;
};

// A rename entry: from a temporary file of the table's main or auxiliary
// file onto that file, and nothing else.
Status planMove(UndoLogReader& reader, const UndoLogReader::Entry& e, const TablePaths& paths,
                Plan& plan) {
    LoggedRename rename;
    if (Status status = reader.rename(e, rename); !status.ok()) return status;
    const bool toMain = platform::samePath(rename.to, platform::lastComponent(paths.main));
    if (!toMain && !platform::samePath(rename.to, platform::lastComponent(paths.aux)))
        return kRefused;
    const std::string& to = toMain ? paths.main : paths.aux;
    if (!platform::isTemporaryOf(rename.from, platform::lastComponent(to))) return kRefused;
    plan.moves.push_back({platform::directoryOf(paths.main) + "/" + rename.from, to, rename.id,
                          toMain ? TablePart::Main : TablePart::Aux});
    return {};
}

// One entry of a checked log, added to `plan`; -21 for one that is damaged
// or asks for what a log may not do.
Status planEntry(UndoLogReader& reader, const UndoLogReader::Entry& e, const TablePaths& paths,
                 Plan& plan) {
    switch (e.kind) {
        case EntryKind::Bytes:
        case EntryKind::Length: {
            const bool known = e.part == TablePart::Main || e.part == TablePart::Aux;
            const bool inTable = e.value >= 0 && e.value <= kWholeTableLockLength - e.payload;
            if (!known || !inTable) return kRefused;
            (e.part == TablePart::Aux ? plan.writesAux : plan.writesMain) = true;
            return {};
        }
        case EntryKind::Rename:
            return planMove(reader, e, paths, plan);
        case EntryKind::Table:
            if (reader.version() == kOldestLogVersion || plan.named) return kRefused;
            plan.named = true;
            return reader.table(e, plan.table);
    }
    return kRefused;
}

// Reads every entry of a checked log into `plan`.
Status readPlan(UndoLogReader& reader, const TablePaths& paths, Plan& plan) {
    Status read = reader.forEach(
        [&](const UndoLogReader::Entry& e) { return planEntry(reader, e, paths, plan); });
    if (!read.ok()) return read;
    return plan.named || reader.version() == kOldestLogVersion ? Status() : kRefused;
}

// The first bytes of a file of the table's `part`.
bool isMagicOf(const std::array<std::uint8_t, kMagicSize>& magic, TablePart part) {
    return part == TablePart::Aux ? magic == kAuxMagic
                                  : magic == kPlainMagic || magic == kCipheredMagic;
}

// `file` (open) is the regular file at `path` itself, not one reached through
// a link, and starts with the magic of its part of a table; `id` is its
// identity.
Status isTableFileAt(platform::FileSystem& fs, TableFile& file, const std::string& path,
                     TablePart part, platform::FileId& id) {
    platform::FileId entry;
    if (fs.identifyEntry(path, entry) < 0 || !file.identify(id).ok() || id != entry) {
        return kRefused;
    }
    std::array<std::uint8_t, kMagicSize> magic{};
    std::size_t got = 0;
    if (!file.readRaw(0, magic, got).ok() || got != magic.size()) return kRefused;
    return isMagicOf(magic, part) ? Status() : kRefused;
}

// The temporary file of a rename: gone (`done`: the rename happened), or a
// regular file, not a link, with the magic of the file it replaces and, when
// the log gives it, the identity the log recorded.
Status checkMove(platform::FileSystem& fs, const Plan::Move& move, bool& done) {
    platform::FileId id;
    int r = fs.identifyEntry(move.from, id);
    done = r == -ENOENT;
    if (done) return {};
    if (r < 0 || (move.id != platform::FileId{} && move.id != id)) return kRefused;
    int handle = fs.open(move.from, false, false);
    if (handle < 0) return kRefused;
    std::array<std::uint8_t, kMagicSize> magic{};
    const bool read = fs.read(handle, magic, 0) == static_cast<std::int64_t>(magic.size());
    fs.close(handle);
    return read && isMagicOf(magic, move.part) ? Status() : kRefused;
}

// Checks the files that the plan's undo entries write: `main` (open, or
// closed when the table's main file is gone) and the auxiliary file, opened
// into `aux`. Where the log was written (`inPlace`), one whose files are not
// the recorded ones, or whose main file is gone, is `stale`: its table was
// replaced or removed since, and the log belongs to nothing.
Status openTableFiles(const Plan& plan, const TablePaths& paths, bool inPlace, TableFile& main,
                      TableFile& aux, bool& stale) {
    platform::FileSystem& fs = main.fileSystem();
    platform::FileId id;
    if (plan.writesMain) {
        if (!main.isOpen()) {
            stale = true;
            return {};
        }
        if (Status status = isTableFileAt(fs, main, paths.main, TablePart::Main, id);
            !status.ok()) {
            return status;
        }
        stale = inPlace && id != plan.table.main;
    }
    if (!plan.writesAux || stale) return {};
    if (Status status = aux.open(paths.aux, true, false, ShareMode::DenyNone); !status.ok()) {
        return status;
    }
    if (Status status = isTableFileAt(fs, aux, paths.aux, TablePart::Aux, id); !status.ok()) {
        return status;
    }
    stale = inPlace && id != plan.table.aux;
    return {};
}

// Applies a checked plan: the undo entries, then the renames whose
// temporary file is still there.
Status applyPlan(platform::FileSystem& fs, UndoLogReader& reader, const Plan& plan, TableFile& main,
                 TableFile& aux, bool& renamed) {
    std::vector<bool> done(plan.moves.size());
    for (std::size_t i = 0; i < plan.moves.size(); ++i) {
        bool gone = false;
        if (Status status = checkMove(fs, plan.moves[i], gone); !status.ok()) return status;
        done[i] = gone;
    }
    if (Status status = reader.applyUndo(main, aux); !status.ok()) return status;
    for (std::size_t i = 0; i < plan.moves.size(); ++i) {
        if (done[i]) continue;
        int r = fs.rename(plan.moves[i].from, plan.moves[i].to);
        if (r < 0 && r != -ENOENT) return Status::fromErrno(r);
        renamed = renamed || r == 0;
    }
    if (plan.moves.empty()) return {};
    int r = fs.syncDirectory(platform::directoryOf(plan.moves.front().to));
    return r < 0 ? Status::fromErrno(r) : Status();
}

Status removeUndoLog(platform::FileSystem& fs, const std::string& path) {
    if (int r = fs.remove(path); r < 0 && r != -ENOENT) return Status::fromErrno(r);
    if (int r = fs.syncDirectory(platform::directoryOf(path)); r < 0) return Status::fromErrno(r);
    return {};
}

}  // namespace

Status recoverUnderLock(platform::FileSystem& fs, Clock& clock, const std::string& mainPath,
                        TableFile& main, bool readOnly, bool& renamed) {
    renamed = false;
    std::string path = platform::resolveIgnoringCase(fs, undoLogPathOf(mainPath));
    TableFile logFile(fs, clock);
    if (Status status = logFile.open(path, false, false, ShareMode::DenyNone); !status.ok()) {
        return status.is(error::kFileNotFound) ? Status() : status;
    }
    UndoLogReader reader(logFile);
    if (Status status = reader.check(); !status.ok()) return status;
    const TablePaths paths{mainPath, platform::resolveIgnoringCase(fs, auxiliaryPath(mainPath))};
    Plan plan;
    if (Status status = readPlan(reader, paths, plan); !status.ok()) return status;
    // The log of another table whose name maps to the same log name
    // (x.dat beside x.EDB) is left to that table.
    if (plan.named && !platform::samePath(plan.table.name, platform::lastComponent(mainPath)))
        return {};
    // Recovery writes; an open for reading only leaves the table as it is.
    if (readOnly) return kRefused;

    // Identities are compared where the log was written: a log that was
    // copied elsewhere together with its table (a folder copied or restored)
    // finds new identities everywhere and is applied on its name.
    platform::FileId logId;
    if (Status status = logFile.identify(logId); !status.ok()) return status;
    const bool inPlace = plan.named && logId == plan.table.log;
    if (!inPlace) {
        for (Plan::Move& move : plan.moves) move.id = {};
    }
    TableFile aux(fs, clock);
    bool stale = false;
    if (Status status = openTableFiles(plan, paths, inPlace, main, aux, stale); !status.ok()) {
        return status;
    }
    if (!stale) {
        if (Status status = applyPlan(fs, reader, plan, main, aux, renamed); !status.ok()) {
            return status;
        }
    }
    logFile.close();
    return removeUndoLog(fs, path);
}

Status recoverTable(platform::FileSystem& fs, Clock& clock, const std::string& mainPath) {
    TableFile main(fs, clock);
    WholeLock lock(main);
    // A table whose files a log's renames have not yet put in place has no
    // main file: such a log only renames.
    if (Status status = main.open(mainPath, true, false, ShareMode::DenyNone);
        !status.ok() && !status.is(error::kFileNotFound)) {
        return status;
    }
    if (main.isOpen()) {
        if (Status status = lock.lock(); !status.ok()) return status;
    }
    bool renamed = false;
    return recoverUnderLock(fs, clock, mainPath, main, false, renamed);
}

}  // namespace qinghe::recordstore
