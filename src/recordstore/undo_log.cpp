#include "recordstore/undo_log.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "recordstore/errors.h"
#include "recordstore/format.h"
#include "recordstore/names.h"
#include "recordstore/replace_file.h"
#include "recordstore/table_locks.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

constexpr std::array<std::uint8_t, kMagicSize> kUndoLogMagic = {'W', 'E', 'D', 'J'};
constexpr std::int32_t kUndoLogVersion = 1;

// Header (32 bytes): magic, version, entry count, zero, body length (int64),
// checksum of the body (uint64).
constexpr std::size_t kUndoLogHeaderSize = 32;
constexpr std::size_t kUndoLogVersionOffset = 4;
constexpr std::size_t kUndoLogEntriesOffset = 8;
constexpr std::size_t kUndoLogBodyLengthOffset = 16;
constexpr std::size_t kUndoLogChecksumOffset = 24;

// Entry head (16 bytes): kind, table part, two zero bytes, int64 value
// (offset of saved bytes, or a saved length), int32 payload length; then the
// payload (the saved bytes, or the two names of a rename, each an int32
// length and its bytes).
constexpr std::size_t kEntryHeadSize = 16;
constexpr std::size_t kEntryKindOffset = 0;
constexpr std::size_t kEntryPartOffset = 1;
constexpr std::size_t kEntryValueOffset = 4;
constexpr std::size_t kEntryPayloadOffset = 12;
enum class EntryKind : std::uint8_t { Bytes = 1, Length = 2, Rename = 3 };

// What a log that cannot be read back whole gives (the open fails with it).
constexpr Status kDamaged = Status::fail(error::kOpenFailed);

// Bytes are saved and restored in pieces of this size.
constexpr std::size_t kPieceSize = 65536;
// One entry holds at most this many saved bytes; a longer range takes several.
constexpr std::int64_t kMaxEntryBytes = std::int64_t{1} << 30;

constexpr std::uint64_t kChecksumSeed = 0x51494E4748454A4EULL;
constexpr std::uint64_t kChecksumMultiplier = 0x9E3779B97F4A7C15ULL;
constexpr int kChecksumShift = 29;

// A checksum over a byte stream, the same however the stream is cut.
class Checksum {
  public:
    void update(std::span<const std::uint8_t> bytes) {
        length_ += bytes.size();
        while (!bytes.empty()) {
            std::size_t n = std::min(bytes.size(), pending_.size() - pendingCount_);
            std::memcpy(pending_.data() + pendingCount_, bytes.data(), n);
            pendingCount_ += n;
            bytes = bytes.subspan(n);
            if (pendingCount_ == pending_.size()) {
                mix(static_cast<std::uint64_t>(loadI64(pending_.data())));
                pendingCount_ = 0;
            }
        }
    }
    std::uint64_t value() const {
        Checksum last = *this;
        std::fill(last.pending_.begin() + static_cast<std::ptrdiff_t>(pendingCount_),
                  last.pending_.end(), 0);
        last.mix(static_cast<std::uint64_t>(loadI64(last.pending_.data())));
        last.mix(length_);
        return last.hash_;
    }

  private:
    void mix(std::uint64_t word) {
        hash_ = (hash_ ^ word) * kChecksumMultiplier;
        hash_ ^= hash_ >> kChecksumShift;
    }
    std::uint64_t hash_ = kChecksumSeed;
    std::uint64_t length_ = 0;
    std::array<std::uint8_t, 8> pending_{};
    std::size_t pendingCount_ = 0;
};

// The checksum of the `length` body bytes of an undo log, read in pieces.
Status checksumOfBody(TableFile& file, std::int64_t length, std::uint64_t& value) {
    Checksum sum;
    std::vector<std::uint8_t> piece(kPieceSize);
    for (std::int64_t at = 0; at < length;) {
        auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(piece.size()), length - at));
        auto span = std::span(piece).first(n);
        if (Status status = file.readExact(static_cast<std::int64_t>(kUndoLogHeaderSize) + at, span,
                                           error::kOpenFailed);
            !status.ok()) {
            return status;
        }
        sum.update(span);
        at += static_cast<std::int64_t>(n);
    }
    value = sum.value();
    return {};
}

std::array<std::uint8_t, kEntryHeadSize> entryHead(EntryKind kind, TablePart part,
                                                   std::int64_t value, std::int32_t payload) {
    std::array<std::uint8_t, kEntryHeadSize> head{};
    head[kEntryKindOffset] = static_cast<std::uint8_t>(kind);
    head[kEntryPartOffset] = static_cast<std::uint8_t>(part);
    storeI64(&head[kEntryValueOffset], value);
    storeI32(&head[kEntryPayloadOffset], payload);
    return head;
}

// A committed undo log, read back: checked whole, then applied entry by entry.
class UndoLogReader {
  public:
    explicit UndoLogReader(TableFile& file) : file_(file) {}

    // Reads the header and checks the body against its checksum.
    Status check() {
        std::array<std::uint8_t, kUndoLogHeaderSize> header;
        if (!file_.readExact(0, header, error::kOpenFailed).ok() ||
            !std::equal(kUndoLogMagic.begin(), kUndoLogMagic.end(), header.begin()) ||
            loadI32(&header[kUndoLogVersionOffset]) != kUndoLogVersion) {
            return kDamaged;
        }
        entries_ = loadI32(&header[kUndoLogEntriesOffset]);
        bodyLength_ = loadI64(&header[kUndoLogBodyLengthOffset]);
        std::int64_t size = 0;
        if (!file_.size(size).ok() || entries_ < 0 || bodyLength_ < 0 ||
            bodyLength_ != size - static_cast<std::int64_t>(kUndoLogHeaderSize)) {
            return kDamaged;
        }
        std::uint64_t sum = 0;
        if (!checksumOfBody(file_, bodyLength_, sum).ok()) return kDamaged;
        if (sum != static_cast<std::uint64_t>(loadI64(&header[kUndoLogChecksumOffset]))) {
            return kDamaged;
        }
        return {};
    }

    struct Entry {
        EntryKind kind;
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
            std::array<std::uint8_t, kEntryHeadSize> head;
            if (at + static_cast<std::int64_t>(head.size()) > bodyLength_ ||
                !file_.readExact(body(at), head, error::kOpenFailed).ok()) {
                return kDamaged;
            }
            Entry e{static_cast<EntryKind>(head[kEntryKindOffset]),
                    static_cast<TablePart>(head[kEntryPartOffset]),
                    loadI64(&head[kEntryValueOffset]), at + static_cast<std::int64_t>(head.size()),
                    loadI32(&head[kEntryPayloadOffset])};
            if (e.payload < 0 || e.payloadAt + e.payload > bodyLength_) return kDamaged;
            if (Status status = visit(e); !status.ok()) return status;
            at = e.payloadAt + e.payload;
        }
        return {};
    }

    // Copies an entry's payload to `target` at `offset`, raw, in pieces.
    Status copyPayload(const Entry& e, TableFile& target) {
        std::vector<std::uint8_t> piece(kPieceSize);
        for (std::int64_t done = 0; done < e.payload;) {
            auto n = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(piece.size()), e.payload - done));
            auto span = std::span(piece).first(n);
            if (Status status = file_.readExact(body(e.payloadAt + done), span, error::kOpenFailed);
                !status.ok()) {
                return status;
            }
            if (Status status = target.writeRaw(e.value + done, span); !status.ok()) return status;
            done += static_cast<std::int64_t>(n);
        }
        return {};
    }

    // The two names of a rename entry.
    Status names(const Entry& e, std::string& from, std::string& to) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(e.payload));
        if (!file_.readExact(body(e.payloadAt), bytes, error::kOpenFailed).ok()) {
            return kDamaged;
        }
        std::size_t at = 0;
        for (std::string* name : {&from, &to}) {
            if (at + 4 > bytes.size()) return kDamaged;
            auto length = static_cast<std::size_t>(std::max(loadI32(&bytes[at]), 0));
            at += 4;
            if (length > bytes.size() - at) return kDamaged;
            name->assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
            at += length;
        }
        // A name is one path component: nothing may lead out of the directory.
        for (const std::string* name : {&from, &to}) {
            if (name->empty() || name->find('/') != std::string::npos || *name == "." ||
                *name == "..") {
                return kDamaged;
            }
        }
        return {};
    }

  private:
    static std::int64_t body(std::int64_t at) {
        return static_cast<std::int64_t>(kUndoLogHeaderSize) + at;
    }
    TableFile& file_;
    std::int32_t entries_ = 0;
    std::int64_t bodyLength_ = 0;
};

// Applies one entry of a checked undo log: a length or saved bytes through
// the file of its part, or a rename in `directory`.
Status applyEntry(FileSystem& fs, UndoLogReader& reader, const UndoLogReader::Entry& e,
                  TableFile* main, TableFile* aux, const std::string& directory) {
    if (e.kind == EntryKind::Rename) {
        std::string from, to;
        if (Status status = reader.names(e, from, to); !status.ok()) return status;
        int r = fs.rename(directory + "/" + from, directory + "/" + to);
        return r < 0 && r != -ENOENT ? Status::fromErrno(r) : Status();
    }
    TableFile* file = e.part == TablePart::Aux ? aux : main;
    if (!file || !file->isOpen()) return kDamaged;
    if (e.kind == EntryKind::Length) return file->truncate(e.value);
    return reader.copyPayload(e, *file);
}

// Applies a checked undo log: lengths, then saved bytes, through `main` and
// `aux` (either may be null when no entry needs it); then the renames in
// `directory`. Flushes what it changed.
Status applyUndoLog(FileSystem& fs, UndoLogReader& reader, TableFile* main, TableFile* aux,
                    const std::string& directory) {
    for (EntryKind pass : {EntryKind::Length, EntryKind::Bytes, EntryKind::Rename}) {
        Status applied = reader.forEach([&](const UndoLogReader::Entry& e) {
            return e.kind == pass ? applyEntry(fs, reader, e, main, aux, directory) : Status();
        });
        if (!applied.ok()) return applied;
    }
    for (TableFile* file : {main, aux}) {
        if (file && file->isOpen()) {
            if (Status status = file->sync(); !status.ok()) return status;
        }
    }
    if (int r = fs.syncDirectory(directory); r < 0) return Status::fromErrno(r);
    return {};
}

Status removeUndoLog(FileSystem& fs, const std::string& path) {
    if (int r = fs.remove(path); r < 0 && r != -ENOENT) return Status::fromErrno(r);
    if (int r = fs.syncDirectory(directoryOf(path)); r < 0) return Status::fromErrno(r);
    return {};
}

}  // namespace

std::string undoLogPathOf(std::string_view mainPath) {
    std::string aux = auxiliaryPath(mainPath);  // the extension replaced by the aux one
    return aux.substr(0, aux.rfind('.')) + std::string(kUndoLogExtension);
}

UndoLog::UndoLog(FileSystem& fs, Clock& clock, const std::string& mainPath)
    : fs_(fs),
      path_(resolveIgnoringCase(fs, undoLogPathOf(mainPath))),
      directory_(directoryOf(mainPath)),
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
    // The header is written at commit; the body follows its place.
    std::array<std::uint8_t, kUndoLogHeaderSize> header{};
    return file_.writeRaw(0, header);
}

Status UndoLog::append(std::span<const std::uint8_t> bytes) {
    if (Status status =
            file_.writeRaw(static_cast<std::int64_t>(kUndoLogHeaderSize) + bodyLength_, bytes);
        !status.ok()) {
        return status;
    }
    bodyLength_ += static_cast<std::int64_t>(bytes.size());
    return {};
}

Status UndoLog::saveRange(TablePart part, TableFile& file, std::int64_t offset,
                          std::int64_t length) {
    if (Status status = ensureOpen(); !status.ok()) return status;
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
    std::int64_t size = 0;
    if (Status status = file.size(size); !status.ok()) return status;
    auto head = entryHead(EntryKind::Length, part, size, 0);
    if (Status status = append(head); !status.ok()) return status;
    ++entries_;
    return {};
}

Status UndoLog::addRename(const std::string& from, const std::string& to) {
    if (Status status = ensureOpen(); !status.ok()) return status;
    std::vector<std::uint8_t> payload;
    for (const std::string* name : {&from, &to}) {
        std::array<std::uint8_t, 4> length;
        storeI32(length.data(), static_cast<std::int32_t>(name->size()));
        payload.insert(payload.end(), length.begin(), length.end());
        payload.insert(payload.end(), name->begin(), name->end());
    }
    auto head =
        entryHead(EntryKind::Rename, TablePart::Main, 0, static_cast<std::int32_t>(payload.size()));
    if (Status status = append(head); !status.ok()) return status;
    if (Status status = append(payload); !status.ok()) return status;
    ++entries_;
    return {};
}

Status UndoLog::commit() {
    if (Status status = ensureOpen(); !status.ok()) return status;
    // The checksum is computed from the body as written: one more read of
    // the log, which the page cache serves.
    std::uint64_t sum = 0;
    if (Status status = checksumOfBody(file_, bodyLength_, sum); !status.ok()) return status;
    std::array<std::uint8_t, kUndoLogHeaderSize> header{};
    std::copy(kUndoLogMagic.begin(), kUndoLogMagic.end(), header.begin());
    storeI32(&header[kUndoLogVersionOffset], kUndoLogVersion);
    storeI32(&header[kUndoLogEntriesOffset], entries_);
    storeI64(&header[kUndoLogBodyLengthOffset], bodyLength_);
    storeI64(&header[kUndoLogChecksumOffset], static_cast<std::int64_t>(sum));
    if (Status status = file_.writeRaw(0, header); !status.ok()) return status;
    if (Status status = file_.sync(); !status.ok()) return status;
    if (Status status = Status::fromCode(moveIntoPlace(fs_, tempPath_, path_)); !status.ok()) {
        return status;
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
    if (Status status = applyUndoLog(fs_, reader, &main, aux, directory_); !status.ok()) {
        return status;
    }
    return finish();
}

bool undoLogExists(FileSystem& fs, const std::string& mainPath) {
    std::string path = resolveIgnoringCase(fs, undoLogPathOf(mainPath));
    int handle = fs.open(path, false, false);
    if (handle < 0) return false;
    fs.close(handle);
    return true;
}

Status recoverTable(FileSystem& fs, Clock& clock, const std::string& mainPath) {
    std::string path = resolveIgnoringCase(fs, undoLogPathOf(mainPath));
    TableFile logFile(fs, clock);
    if (Status status = logFile.open(path, false, false, ShareMode::DenyNone); !status.ok()) {
        return status.is(error::kFileNotFound) ? Status() : status;
    }
    UndoLogReader reader(logFile);
    if (Status status = reader.check(); !status.ok()) return status;
    bool needsMain = false, needsAux = false;
    Status listed = reader.forEach([&](const UndoLogReader::Entry& e) -> Status {
        if (e.kind != EntryKind::Rename) (e.part == TablePart::Aux ? needsAux : needsMain) = true;
        return {};
    });
    if (!listed.ok()) return listed;
    TableFile main(fs, clock), aux(fs, clock);
    WholeLock lock(main);
    if (needsMain || needsAux) {
        if (Status status = main.open(mainPath, true, false, ShareMode::DenyNone); !status.ok()) {
            return status;
        }
        if (Status status = lock.lock(); !status.ok()) return status;
        // Under the lock: the log is still there, so its writer is gone.
        if (!undoLogExists(fs, mainPath)) return {};
        if (needsAux) {
            std::string auxPath = resolveIgnoringCase(fs, auxiliaryPath(mainPath));
            if (Status status = aux.open(auxPath, true, false, ShareMode::DenyNone); !status.ok()) {
                return status;
            }
        }
    }
    if (Status status = applyUndoLog(fs, reader, &main, &aux, directoryOf(mainPath));
        !status.ok()) {
        return status;
    }
    logFile.close();
    return removeUndoLog(fs, path);
}

Status readUndoLogSummary(FileSystem& fs, const std::string& logPath, UndoLogSummary& summary) {
    summary = {};
    TableFile logFile(fs, systemClock());
    if (Status status = logFile.open(logPath, false, false, ShareMode::DenyNone); !status.ok()) {
        return status;
    }
    UndoLogReader reader(logFile);
    if (Status status = reader.check(); !status.ok()) return status;
    return reader.forEach([&](const UndoLogReader::Entry& e) -> Status {
        ++(e.kind == EntryKind::Rename ? summary.renameEntries : summary.undoEntries);
        return {};
    });
}

}  // namespace qinghe::recordstore
