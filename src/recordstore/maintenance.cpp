// The whole-table maintenance of the current table: removing the records
// marked deleted (pack), removing all records (zap) and re-keying
// (setPassword). Each holds the whole-table lock while it works; pack and
// setPassword change the table in place under its undo log.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "recordstore/aux_file.h"
#include "recordstore/batches.h"
#include "recordstore/cipher.h"
#include "recordstore/record_counts.h"
#include "recordstore/record_store.h"
#include "recordstore/table.h"
#include "recordstore/table_locks.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

// The engine writes its files from the front and never leaves holes in
// them; a file with more than this in holes claims records or blocks that it
// does not hold. Pack and re-keying, which would read and write all of it,
// refuse such a file instead.
constexpr std::int64_t kMaxHoleBytes = std::int64_t{1} << 20;

// `failure` when a file of the table holds more than kMaxHoleBytes in holes.
Status refuseHoles(std::span<TableFile* const> files, Status failure) {
    for (TableFile* f : files) {
        std::int64_t holes = 0;
        if (!f->holeBytes(holes).ok() || holes > kMaxHoleBytes) return failure;
    }
    return {};
}

// ---- pack ------------------------------------------------------------------

// The undo log of a pack. Before the first change it saves what pack may
// overwrite: the count, the length, and every byte from the first record that
// moves or goes. A failure after that rolls the table back; a crash leaves
// the log to the next open.
class PackUndo {
  public:
    explicit PackUndo(OpenTable& t) : t_(t), log_(t.fs, t.clock, t.path) {}

    // Saves the table from record `firstChanged` on, once.
    Status protectFrom(std::int64_t firstChanged) {
        if (saved_) return {};
        Status status = log_.saveLength(TablePart::Main, t_.main);
        if (status.ok()) {
            status = log_.saveRange(TablePart::Main, t_.main, kCountOffset, kCountAndNextSize);
        }
        if (status.ok()) {
            status =
                log_.saveRange(TablePart::Main, t_.main, t_.recordOffset(firstChanged), INT64_MAX);
        }
        if (status.ok()) status = log_.commit();
        saved_ = status.ok();
        return status;
    }
    // Flushes the packed table and removes the log.
    Status finish() {
        if (!saved_) return {};
        Status status = t_.main.sync();
        if (status.ok()) status = log_.finish();
        return status;
    }
    // `failure` after the table as it was is back (when anything changed).
    Status rolledBack(Status failure) {
        // A log that cannot be applied now stays for the next open.
        if (saved_) (void)log_.rollBack(t_.main, nullptr);
        return failure;
    }

  private:
    OpenTable& t_;
    UndoLog log_;
    bool saved_ = false;
};

// -62 at the first record of the batch numbered 0 (requireNumbered): the
// pack stops, and what it moved is rolled back.
Status requireAllNumbered(std::span<const std::uint8_t> run, std::int64_t length) {
    for (std::size_t at = 0; at < run.size(); at += static_cast<std::size_t>(length)) {
        if (Status status = requireNumbered(run.data() + at); !status.ok()) return status;
    }
    return {};
}

// Whether `record` goes: marked deleted, or `alsoDrop`; the first blocks of
// the values it chains are then added to `chains`.
bool dropped(const Layout& layout, const std::uint8_t* record, bool alsoDrop,
             std::vector<std::int32_t>& chains) {
    if (loadI32(record) >= 0 && !alsoDrop) return false;
    for (const auto& field : layout.fields) {
        if (isChained(field.type)) chains.push_back(loadI32(record + field.offset));
    }
    return true;
}

// Moves every kept record down over the gaps before it, batch by batch; a
// batch is written back once any record before its end has been dropped.
// The records dropped are those marked deleted and the one at `alsoDrop`
// (none when negative), which stays unmarked on disk until it is overwritten.
// `kept` counts the records kept, `chains` collects the first blocks of the
// dropped records' memo and byte-array values.
Status moveKeptRecords(OpenTable& t, std::int64_t count, std::int64_t alsoDrop, PackUndo& undo,
                       std::int64_t& kept, std::vector<std::int32_t>& chains) {
    const std::int64_t length = t.layout.recordLength;
    std::vector<std::uint8_t> buffer;
    return forEachBatch(
        t.main, t.layout, count, buffer, [&](std::int64_t in, std::span<std::uint8_t> run) {
            const auto n = static_cast<std::int64_t>(run.size()) / length;
            if (Status status = requireAllNumbered(run, length); !status.ok()) return status;
            std::int64_t keptHere = 0;
            for (std::int64_t j = 0; j < n; ++j) {
                std::uint8_t* record = run.data() + j * length;
                if (dropped(t.layout, record, in + j == alsoDrop, chains)) continue;
                if (keptHere != j) {
                    std::memmove(run.data() + keptHere * length, record,
                                 static_cast<std::size_t>(length));
                }
                ++keptHere;
            }
            Status status;
            if (kept + keptHere != in + n && keptHere > 0) {
                status = undo.protectFrom(kept);
                if (status.ok()) {
                    status = t.main.write(t.recordOffset(kept),
                                          run.first(static_cast<std::size_t>(keptHere * length)));
                }
            }
            kept += keptHere;
            return status;
        });
}

// Frees the chains of dropped records under an undo log of the auxiliary
// file's header and of the block heads that the free list's relinking writes.
Status freeUnderUndoLog(OpenTable& t, std::span<const std::int32_t> chains) {
    AuxFile aux(t.auxFile);
    std::vector<std::int32_t> relinked;
    if (Status status = aux.blocksRelinkedByFree(chains, relinked); !status.ok()) return status;
    UndoLog undoLog(t.fs, t.clock, t.path);
    Status status = undoLog.saveLength(TablePart::Aux, t.auxFile);
    if (status.ok()) status = undoLog.saveRange(TablePart::Aux, t.auxFile, 0, kAuxHeaderSize);
    for (std::int32_t block : relinked) {
        if (!status.ok()) break;
        status = undoLog.saveRange(
            TablePart::Aux, t.auxFile,
            static_cast<std::int64_t>(block) * static_cast<std::int64_t>(kBlockSize),
            kBlockDataOffset);
    }
    if (status.ok()) status = undoLog.commit();
    if (!status.ok()) return status;
    status = aux.freeValues(chains);
    if (status.ok()) status = t.auxFile.sync();
    if (status.ok()) status = undoLog.finish();
    // A log that cannot be applied now stays for the next open.
    if (!status.ok()) (void)undoLog.rollBack(t.main, &t.auxFile);
    return status;
}

Status packTable(OpenTable& t, std::int64_t alsoDrop) {
    WholeLock lock(t.main);
    if (Status status = lock.lock(); !status.ok()) return status;
    TableFile* const main[] = {&t.main};
    if (Status status = refuseHoles(main, Status::fail(error::kRecordReadFailed)); !status.ok()) {
        return status;
    }
    RecordCounts counts;
    if (!readCounts(t.main, counts).ok()) return Status::fail(error::kCountUnreadable);
    const std::int64_t count = std::max(counts.count, 0);
    PackUndo undo(t);
    std::vector<std::int32_t> chains;
    std::int64_t kept = 0;
    if (alsoDrop >= count) return Status::fail(error::kNoCurrentRecord);
    Status status = moveKeptRecords(t, count, alsoDrop, undo, kept, chains);
    if (status.ok() && kept < count) {
        status = undo.protectFrom(kept);
        if (status.ok()) status = writeCount(t.main, static_cast<std::int32_t>(kept));
        if (status.ok()) status = t.main.truncate(t.recordOffset(kept));
    }
    if (status.ok()) status = undo.finish();
    if (!status.ok()) return undo.rolledBack(status);
    // The records are gone: that is what pack reports from here. The blocks
    // of dropped values are freed only now that no record names them, under
    // an undo log of their own; when that fails (or a crash comes between
    // the two) the blocks stay unused (table check reports them) and nothing
    // is lost.
    t.position = 0;
    chains.erase(std::remove(chains.begin(), chains.end(), 0), chains.end());
    if (!chains.empty() && t.hasAux()) (void)freeUnderUndoLog(t, chains);
    return {};
}

// ---- zap -------------------------------------------------------------------

// The count 0 first, then the main file cut to its descriptors, then the
// auxiliary file reset: a crash between them leaves an empty table.
Status zapTable(OpenTable& t) {
    WholeLock lock(t.main);
    if (Status status = lock.lock(); !status.ok()) return status;
    if (Status status = writeCount(t.main, 0); !status.ok()) return status;
    if (Status status = t.main.truncate(t.layout.dataOffset); !status.ok()) return status;
    if (t.hasAux()) {
        if (Status status = AuxFile(t.auxFile).reset(); !status.ok()) return status;
    }
    t.position = 0;
    return {};
}

// ---- setPassword -----------------------------------------------------------

// Re-enciphering reads and writes pieces of this many bytes.
constexpr std::size_t kRekeyPieceSize = 10240;

bool sameKey(const std::shared_ptr<Cipher>& a, const std::shared_ptr<Cipher>& b) {
    if (!a || !b) return !a && !b;
    return a->checkString() == b->checkString();
}

// Reads every piece from offset 4 with the file's read cipher and writes it
// back with its write cipher.
Status reencipher(TableFile& file, std::vector<std::uint8_t>& piece) {
    std::int64_t size = 0;
    if (Status status = file.size(size); !status.ok()) return status;
    for (auto at = static_cast<std::int64_t>(kCipherStart); at < size;) {
        auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(kRekeyPieceSize), size - at));
        auto span = std::span(piece).first(n);
        if (Status status = file.readExact(at, span, error::kRecordReadFailed); !status.ok()) {
            return status;
        }
        if (Status status = file.write(at, span); !status.ok()) return status;
        at += static_cast<std::int64_t>(n);
    }
    return {};
}

// Saves both files whole in the undo log.
Status saveWhole(UndoLog& undo, std::span<TableFile* const> files, const TableFile& main) {
    for (TableFile* f : files) {
        TablePart part = f == &main ? TablePart::Main : TablePart::Aux;
        if (Status status = undo.saveLength(part, *f); !status.ok()) return status;
        if (Status status = undo.saveRange(part, *f, 0, INT64_MAX); !status.ok()) return status;
    }
    return undo.commit();
}

// Before a re-key: no other open of the table may exist (-12), since it would
// go on with the old key and its next write would land where the old key
// deciphers the count to; then both files are saved (-79 when they cannot be,
// or hold more in holes than the engine ever leaves).
Status prepareRekey(UndoLog& undo, std::span<TableFile* const> files, TableFile& main) {
    if (Status status = main.requireSoleOpen(); !status.ok()) return status;
    const Status failed = Status::fail(error::kRekeyFailed);
    if (!refuseHoles(files, failed).ok()) return failed;
    return saveWhole(undo, files, main).ok() ? Status() : failed;
}

void useKeys(std::span<TableFile* const> files, const std::shared_ptr<Cipher>& read,
             const std::shared_ptr<Cipher>& write) {
    for (TableFile* f : files) f->setCiphers(read, write);
}

// Re-enciphers both files with `newKey` (null: no password) and writes the
// magic and the check string, when no other open of the table exists (-12).
// Any failure after that gives -79 with the table back under its old key:
// rolled back now, or by the next open when the log cannot be applied now.
Status rekey(OpenTable& t, const std::shared_ptr<Cipher>& newKey) {
    const Status failed = Status::fail(error::kRekeyFailed);
    WholeLock lock(t.main);
    if (Status status = lock.lock(); !status.ok()) return status;
    std::shared_ptr<Cipher> oldKey = t.main.readCipher();
    std::vector<TableFile*> files = {&t.main};
    if (t.hasAux()) files.push_back(&t.auxFile);

    UndoLog undo(t.fs, t.clock, t.path);
    const bool rekeying = !sameKey(oldKey, newKey);
    if (rekeying) {
        if (Status status = prepareRekey(undo, files, t.main); !status.ok()) return status;
    }

    std::array<std::uint8_t, kPasswordCheckWriteSize> check{};
    if (newKey) {
        std::copy(newKey->checkString().begin(), newKey->checkString().end(), check.begin());
    }
    const auto& magic = newKey ? kCipheredMagic : kPlainMagic;
    useKeys(files, oldKey, newKey);
    Status status;
    std::vector<std::uint8_t> piece(kRekeyPieceSize);
    for (TableFile* f : files) {
        if (status.ok() && rekeying) status = reencipher(*f, piece);
    }
    if (status.ok()) status = t.main.writeRaw(kMagicOffset, magic);
    if (status.ok()) status = t.main.write(kPasswordCheckOffset, check);
    for (TableFile* f : files) {
        if (status.ok()) status = f->sync();
    }
    // An undo log that cannot be removed would undo the change at the next
    // open: then the change is undone now and reported as failed.
    if (status.ok() && rekeying) status = undo.finish();
    if (!status.ok()) {
        // Back to the old password; an undo log that cannot be applied now
        // stays for the next open.
        if (rekeying) (void)undo.rollBack(t.main, t.hasAux() ? &t.auxFile : nullptr);
        useKeys(files, oldKey, oldKey);
        return failed;
    }
    useKeys(files, newKey, newKey);
    std::copy(magic.begin(), magic.end(), t.header.begin() + kMagicOffset);
    std::fill_n(t.header.begin() + kPasswordCheckOffset, kPasswordCheckWriteSize, 0);
    std::copy(check.begin(), check.end(), t.header.begin() + kPasswordCheckOffset);
    return {};
}

}  // namespace

bool Registry::pack() {
    return reportOn(current_, Access::Write, [](OpenTable& t) { return packTable(t, -1); });
}

bool Registry::removeCurrent() {
    return reportOn(current_, Access::Write, [](OpenTable& t) -> Status {
        if (t.position < 0) return Status::fail(error::kNoCurrentRecord);
        return packTable(t, t.position);
    });
}

bool Registry::zap() {
    return reportOn(current_, Access::Write, [](OpenTable& t) { return zapTable(t); });
}

bool Registry::setPassword(std::string_view password) {
    return reportOn(current_, Access::Read, [&](OpenTable& t) -> Status {
        if (password == "?") return Status::fail(error::kBadPasswordText);
        if (Status status = requireWritable(t); !status.ok()) return status;
        return rekey(t, password.empty() ? nullptr : std::make_shared<Cipher>(password));
    });
}

}  // namespace qinghe::recordstore
