#include "recordstore/undo_log.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include "platform/paths.h"
#include "platform/whole_file.h"
#include "recordstore/errors.h"
#include "recordstore/format.h"
#include "recordstore/names.h"
#include "recordstore/undo_log_reader.h"

namespace qinghe::recordstore {
namespace {

using namespace format;
using namespace undo_bytes;

// One entry holds at most this many saved bytes; a longer range takes several.
constexpr std::int64_t kMaxEntryBytes = std::int64_t{1} << 30;

}  // namespace

std::string undoLogPathOf(std::string_view mainPath) {
    std::string aux = auxiliaryPath(mainPath);  // the extension replaced by the aux one
    return aux.substr(0, aux.rfind('.')) + std::string(kUndoLogExtension);
}

UndoLog::UndoLog(platform::FileSystem& fs, Clock& clock, const std::string& mainPath)
    : fs_(fs),
      clock_(clock),
      path_(platform::resolveIgnoringCase(fs, undoLogPathOf(mainPath))),
      directory_(platform::directoryOf(mainPath)),
      mainName_(platform::lastComponent(mainPath)),
      file_(fs, clock) {}

UndoLog::~UndoLog() {
    if (file_.isOpen()) {
        file_.close();
        if (!committed_) fs_.remove(tempPath_);
    }
}

Status UndoLog::ensureOpen() {
    if (file_.isOpen()) return {};
    if (Status status = file_.createTemporaryBeside(path_, tempPath_); !status.ok()) {
        return status;
    }
    // The log keeps its own identity too, which it keeps when it is renamed
    // into place: recovery tells a table replaced under its log from a
    // table and log copied elsewhere together.
    if (Status status = file_.identify(logId_); !status.ok()) return status;
    // The header is written at commit; the body follows its place.
    std::array<std::uint8_t, kLogHeaderSize> header{};
    return file_.writeRaw(0, header);
}

Status UndoLog::noteIdentity(TablePart part, TableFile& file) {
    platform::FileId& id = part == TablePart::Aux ? auxId_ : mainId_;
    return id == platform::FileId{} ? file.identify(id) : Status();
}

Status UndoLog::appendEntry(EntryKind kind, std::span<const std::uint8_t> payload) {
    auto head = entryHead(kind, TablePart::Main, 0, static_cast<std::int32_t>(payload.size()));
    if (Status status = append(head); !status.ok()) return status;
    if (Status status = append(payload); !status.ok()) return status;
    ++entries_;
    return {};
}

Status UndoLog::append(std::span<const std::uint8_t> bytes) {
    if (Status status =
            file_.writeRaw(static_cast<std::int64_t>(kLogHeaderSize) + bodyLength_, bytes);
        !status.ok()) {
        return status;
    }
    bodyLength_ += static_cast<std::int64_t>(bytes.size());
    return {};
}

Status UndoLog::saveRange(TablePart part, TableFile& file, std::int64_t offset,
                          std::int64_t length) {
    if (Status status = ensureOpen(); !status.ok()) return status;
    if (Status status = noteIdentity(part, file); !status.ok()) return status;
    std::int64_t size = 0;
    if (Status status = file.size(size); !status.ok()) return status;
    length = std::min(length, size - offset);
    std::vector<std::uint8_t> piece(kPieceSize);
    while (length > 0) {
        std::int64_t entryBytes = std::min(length, kMaxEntryBytes);
        auto head =
            entryHead(EntryKind::Bytes, part, offset, static_cast<std::int32_t>(entryBytes));
        if (Status status = append(head); !status.ok()) return status;
        for (std::int64_t done = 0; done < entryBytes;) {
            auto n = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(piece.size()), entryBytes - done));
            auto span = std::span(piece).first(n);
            std::size_t got = 0;
            if (Status status = file.readRaw(offset + done, span, got); !status.ok()) return status;
            if (got != n) return Status::fail(error::kRecordReadFailed);
            if (Status status = append(span); !status.ok()) return status;
            done += static_cast<std::int64_t>(n);
        }
        ++entries_;
        offset += entryBytes;
        length -= entryBytes;
    }
    return {};
}

Status UndoLog::saveLength(TablePart part, TableFile& file) {
    if (Status status = ensureOpen(); !status.ok()) return status;
    if (Status status = noteIdentity(part, file); !status.ok()) return status;
    std::int64_t size = 0;
    if (Status status = file.size(size); !status.ok()) return status;
    auto head = entryHead(EntryKind::Length, part, size, 0);
    if (Status status = append(head); !status.ok()) return status;
    ++entries_;
    return {};
}

Status UndoLog::addRename(const std::string& from, const std::string& to) {
    if (Status status = ensureOpen(); !status.ok()) return status;
    platform::FileId id;
    if (int r = fs_.identifyEntry(directory_ + "/" + from, id); r < 0) {
        return Status::fromErrno(r);
    }
    std::vector<std::uint8_t> payload;
    for (const std::string* name : {&from, &to}) {
        std::array<std::uint8_t, 4> length;
        storeI32(length.data(), static_cast<std::int32_t>(name->size()));
        payload.insert(payload.end(), length.begin(), length.end());
        payload.insert(payload.end(), name->begin(), name->end());
    }
    appendIdentity(payload, id);
    return appendEntry(EntryKind::Rename, payload);
}

Status UndoLog::commit() {
    if (Status status = ensureOpen(); !status.ok()) return status;
    std::vector<std::uint8_t> table;
    appendIdentity(table, logId_);
    appendIdentity(table, mainId_);
    appendIdentity(table, auxId_);
    table.insert(table.end(), mainName_.begin(), mainName_.end());
    if (Status status = appendEntry(EntryKind::Table, table); !status.ok()) return status;
    // The checksum is computed from the body as written: one more read of
    // the log, which the page cache serves.
    std::uint64_t sum = 0;
    if (Status status = checksumOfBody(file_, bodyLength_, sum); !status.ok()) return status;
    platform::FileId existing;
    std::array<std::uint8_t, kLogHeaderSize> header{};
    std::copy(kLogMagic.begin(), kLogMagic.end(), header.begin());
    storeI32(&header[kLogVersionOffset], kLogVersion);
    storeI32(&header[kLogEntriesOffset], entries_);
    storeI64(&header[kLogBodyLengthOffset], bodyLength_);
    storeI64(&header[kLogChecksumOffset], static_cast<std::int64_t>(sum));
    if (Status status = file_.writeRaw(0, header); !status.ok()) return status;
    if (Status status = file_.sync(); !status.ok()) return status;
    // The log of another table of the same title (x.dat beside x.EDB), or one
    // that was never applied, is not replaced: its table needs it.
    if (int r = fs_.identifyEntry(path_, existing); r != -ENOENT) {
        return Status::fail(error::kSharingViolation);
    }
    // What the log is for needs it on disk: a failed flush fails it too.
    if (const platform::Replaced moved = platform::moveIntoPlace(fs_, tempPath_, path_);
        !moved.ok()) {
        return Status::fromErrno(moved.error);
    }
    committed_ = true;
    return {};
}

Status UndoLog::finish() {
    // Kept open until it is gone, so that a failed removal can still roll back.
    if (int r = fs_.remove(path_); r < 0 && r != -ENOENT) return Status::fromErrno(r);
    file_.close();
    committed_ = false;
    // The removal is done; a lost flush of it only means that a power failure
    // could bring back a log that undoes a finished operation whole.
    fs_.syncDirectory(directory_);
    return {};
}

Status UndoLog::rollBack(TableFile& main, TableFile* aux) {
    UndoLogReader reader(file_);
    if (Status status = reader.check(); !status.ok()) return status;
    TableFile none(fs_, clock_);
    if (Status status = reader.applyUndo(main, aux ? *aux : none); !status.ok()) return status;
    return finish();
}

Status readUndoLogSummary(platform::FileSystem& fs, const std::string& logPath,
                          UndoLogSummary& summary) {
    summary = {};
    TableFile logFile(fs, systemClock());
    if (Status status = logFile.open(logPath, false, false, ShareMode::DenyNone); !status.ok()) {
        return status;
    }
    UndoLogReader reader(logFile);
    if (Status status = reader.check(); !status.ok()) return status;
    return reader.forEach([&](const UndoLogReader::Entry& e) -> Status {
        if (e.kind == EntryKind::Rename) ++summary.renameEntries;
        if (e.kind == EntryKind::Bytes || e.kind == EntryKind::Length) ++summary.undoEntries;
        return {};
    });
}

}  // namespace qinghe::recordstore
