// sortInto and copyInto: the current table's records written into a new
// table file, in key order or in file order.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/paths.h"
#include "platform/whole_file.h"
#include "recordstore/aux_file.h"
#include "recordstore/batches.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"
#include "recordstore/record_counts.h"
#include "recordstore/record_store.h"
#include "recordstore/side_files.h"
#include "recordstore/table.h"
#include "recordstore/table_locks.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

// A sort reads every record into memory at once and writes them out in key
// order when they take at most this many bytes; a larger table is read in
// batches for its keys and then record by record in key order (slower, but
// its memory stays at the keys).
constexpr std::int64_t kSortInMemoryBytes = std::int64_t{16} << 20;

// The fields of the new table and, for each, the source field it copies.
struct Selection {
    Layout layout;
    std::vector<std::size_t> source;
    bool verbatim = false;  // every field in its place, none chained: records copy whole
};

Status selectFields(const Layout& from, std::span<const std::string> names, Selection& selection) {
    std::vector<std::size_t> chosen;
    if (names.empty()) {
        for (std::size_t i = 0; i < from.fields.size(); ++i) chosen.push_back(i);
    }
    for (const auto& name : names) {
        auto it = std::find_if(from.fields.begin(), from.fields.end(),
                               [&](const FieldInfo& f) { return sameName(f.name, name); });
        if (it == from.fields.end()) return Status::fail(error::kFieldNotFound);
        auto index = static_cast<std::size_t>(it - from.fields.begin());
        if (std::find(chosen.begin(), chosen.end(), index) != chosen.end()) {
            return Status::fail(error::kDuplicateFieldName);
        }
        chosen.push_back(index);
    }
    std::vector<FieldSpec> fieldList;
    for (std::size_t i : chosen) {
        const FieldInfo& f = from.fields[i];
        fieldList.push_back({f.name, static_cast<int>(f.type), f.textSize});
    }
    if (Status status = layoutFromSpecs(fieldList, selection.layout); !status.ok()) return status;
    // A field list ends at an empty name; a hostile file may hold one among
    // its fields, which would leave the new table short of the chosen ones.
    if (selection.layout.fields.size() != chosen.size()) {
        return Status::fail(error::kBadFieldName);
    }
    selection.verbatim = !hasChainedField(selection.layout);
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (selection.layout.fields[i].offset != from.fields[chosen[i]].offset)
            selection.verbatim = false;
    }
    selection.source = std::move(chosen);
    return {};
}

// ---- Sort keys -------------------------------------------------------------
//
// Each key field's bytes are turned into bytes that compare with memcmp as
// the sort compares the values: big-endian, signed numbers with the sign bit
// flipped, floating-point numbers mapped onto unsigned integers of the same
// order, a descending key's bytes inverted.

template <typename Bits>
Bits orderedFloatBits(Bits bits) {
    constexpr Bits sign = Bits{1} << (sizeof(Bits) * 8 - 1);
    return (bits & sign) ? static_cast<Bits>(~bits) : static_cast<Bits>(bits | sign);
}

void storeBigEndian(std::uint8_t* out, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - i)));
    }
}

// The instant a date-time denotes: before 1899-12-30 the whole part counts
// the days back and the fraction the time of that day forward, so -1.25 is
// 1899-12-29 06:00, the instant -0.75.
double instantOf(double days) {
    if (days >= 0) return days;
    double whole = std::trunc(days);
    return whole + (whole - days);
}

std::uint64_t orderedDouble(double value) {
    if (value == 0.0) value = 0.0;  // -0 and +0 are equal
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return orderedFloatBits(bits);
}

struct SortKey {
    const FieldInfo* field;
    bool ascending;
};

void encodeKey(const SortKey& key, const std::uint8_t* record, std::uint8_t* out) {
    const FieldInfo& f = *key.field;
    const std::uint8_t* at = record + f.offset;
    auto size = static_cast<std::size_t>(f.size);
    switch (f.type) {
        case FieldType::Byte:
            out[0] = at[0];
            break;
        case FieldType::Bool:
            out[0] = at[0] != 0 ? 1 : 0;
            break;
        case FieldType::Short: {
            auto v = static_cast<std::uint16_t>(at[0] | at[1] << 8);
            storeBigEndian(out, v ^ 0x8000u, size);
            break;
        }
        case FieldType::Int:
            storeBigEndian(out, static_cast<std::uint32_t>(loadI32(at)) ^ 0x80000000u, size);
            break;
        case FieldType::Reference:
            storeBigEndian(out, static_cast<std::uint32_t>(loadI32(at)), size);
            break;
        case FieldType::Int64:
            storeBigEndian(out, static_cast<std::uint64_t>(loadI64(at)) ^ (std::uint64_t{1} << 63),
                           size);
            break;
        case FieldType::Float: {
            auto bits = static_cast<std::uint32_t>(loadI32(at));
            float value;
            std::memcpy(&value, &bits, sizeof value);
            if (value == 0.0f) bits = 0;
            storeBigEndian(out, orderedFloatBits(bits), size);
            break;
        }
        case FieldType::Double:
            storeBigEndian(out, orderedDouble(loadDouble(at)), size);
            break;
        case FieldType::DateTime: {
            // A NaN sorts where it reads: as the zero date.
            const double days = loadDouble(at);
            storeBigEndian(out, orderedDouble(instantOf(std::isnan(days) ? 0.0 : days)), size);
            break;
        }
        case FieldType::Text:
            std::memcpy(out, at, size);  // byte-wise over the field's size
            break;
        case FieldType::ByteArray:
        case FieldType::Memo:
            break;  // refused as keys
    }
    if (!key.ascending) {
        for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(~out[i]);
    }
}

// The positions of the records in key order; equal keys in file order.
class KeyOrder {
  public:
    // Grown as records come (a count that the file does not hold reserves
    // nothing).
    explicit KeyOrder(std::vector<SortKey> keys) : keys_(std::move(keys)) {
        for (const auto& k : keys_) width_ += static_cast<std::size_t>(k.field->size);
    }

    void add(const std::uint8_t* record) {
        std::array<std::uint8_t, sizeof(std::uint64_t)> small{};
        std::uint8_t* out = small.data();
        if (width_ > small.size()) {
            wide_.resize(wide_.size() + width_);
            out = wide_.data() + wide_.size() - width_;
        }
        std::size_t at = 0;
        for (const auto& k : keys_) {
            encodeKey(k, record, out + at);
            at += static_cast<std::size_t>(k.field->size);
        }
        if (width_ <= small.size()) {
            std::uint64_t packed = 0;
            for (std::uint8_t b : small) packed = packed << 8 | b;
            narrow_.push_back({packed, static_cast<std::uint32_t>(narrow_.size())});
        }
    }

    std::vector<std::uint32_t> positions() {
        std::vector<std::uint32_t> order;
        if (width_ <= sizeof(std::uint64_t)) {
            std::sort(narrow_.begin(), narrow_.end());
            order.reserve(narrow_.size());
            for (const auto& e : narrow_) order.push_back(e.second);
            return order;
        }
        auto count = static_cast<std::uint32_t>(wide_.size() / width_);
        order.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) order.push_back(i);
        const std::uint8_t* base = wide_.data();
        std::size_t w = width_;
        std::sort(order.begin(), order.end(), [base, w](std::uint32_t a, std::uint32_t b) {
            int c = std::memcmp(base + a * w, base + b * w, w);
            return c != 0 ? c < 0 : a < b;
        });
        return order;
    }

  private:
    std::vector<SortKey> keys_;
    std::size_t width_ = 0;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> narrow_;
    std::vector<std::uint8_t> wide_;
};

// ---- The new table ---------------------------------------------------------

// A new table written under temporary names beside its destination and
// moved into place whole by finish(); removed if it is not finished.
class NewTable {
  public:
    NewTable(platform::FileSystem& fs, Clock& clock, Selection selection,
             std::shared_ptr<Cipher> cipher)
        : fs_(fs),
          clock_(clock),
          selection_(std::move(selection)),
          cipher_(std::move(cipher)),
          main_(fs, clock),
          aux_(fs, clock) {}
    NewTable(const NewTable&) = delete;
    NewTable& operator=(const NewTable&) = delete;
    ~NewTable() {
        main_.close();
        aux_.close();
        if (!tempMain_.empty()) fs_.remove(tempMain_);
        if (!tempAux_.empty()) fs_.remove(tempAux_);
    }

    // Creates the temporary files with header and descriptors (count 0,
    // next number 1) for the destination `path`.
    Status create(const std::string& path) {
        path_ = path;
        bool withAux = hasChainedField(selection_.layout);
        if (withAux) auxPath_ = platform::resolveIgnoringCase(fs_, auxiliaryPath(path_));
        double created = clock_.now();
        auto bytes = encodeMainFile(selection_.layout, created);
        if (cipher_) {
            std::copy(kCipheredMagic.begin(), kCipheredMagic.end(), bytes.begin());
            const std::string& check = cipher_->checkString();
            std::copy(check.begin(), check.end(), bytes.begin() + kPasswordCheckOffset);
        }
        if (Status status = openTemp(path_, main_, tempMain_); !status.ok()) return status;
        if (Status status = main_.write(0, bytes); !status.ok()) return status;
        if (withAux) {
            if (Status status = openTemp(auxPath_, aux_, tempAux_); !status.ok()) return status;
            if (Status status = aux_.write(0, AuxFile::newFileBytes(kVersion, created));
                !status.ok()) {
                return status;
            }
        }
        end_ = selection_.layout.dataOffset;
        return {};
    }

    // Builds record number `number` from a source record; memo and byte
    // array values are read from `sourceAux` and written to the new file.
    Status add(const Layout& from, const std::uint8_t* record, std::int32_t number,
               TableFile* sourceAux) {
        const Layout& to = selection_.layout;
        auto length = static_cast<std::size_t>(to.recordLength);
        if (pending_.size() + length > kBatchBytes) {
            if (Status status = flush(); !status.ok()) return status;
        }
        std::size_t at = pending_.size();
        if (selection_.verbatim && length == static_cast<std::size_t>(from.recordLength)) {
            // The same layout without chained values: the record as it is.
            pending_.insert(pending_.end(), record, record + length);
            storeI32(pending_.data() + at, number);
            ++count_;
            return {};
        }
        pending_.resize(at + length, 0);
        std::uint8_t* out = pending_.data() + at;
        storeI32(out, number);
        for (std::size_t i = 0; i < to.fields.size(); ++i) {
            const FieldInfo& source = from.fields[selection_.source[i]];
            const FieldInfo& target = to.fields[i];
            const std::uint8_t* value = record + source.offset;
            if (!isChained(target.type)) {
                std::memcpy(out + target.offset, value, static_cast<std::size_t>(target.size));
                continue;
            }
            std::int32_t first = loadI32(value);
            if (first == 0) continue;
            if (!sourceAux) return Status::fail(error::kAuxAccessFailed);
            if (Status status = AuxFile(*sourceAux).readValue(first, chain_); !status.ok()) {
                return status;
            }
            std::int32_t copied = 0;
            if (Status status = AuxFile(aux_).writeValue(chain_, copied); !status.ok())
                return status;
            storeI32(out + target.offset, copied);
        }
        ++count_;
        return {};
    }

    // Writes the count and next number, flushes both files and moves them
    // over the destination: one rename, or for two files both renames
    // through the destination's undo log.
    Status finish() {
        if (Status status = flush(); !status.ok()) return status;
        if (Status status = writeCounts(main_, {count_, count_ + 1}); !status.ok()) return status;
        const std::pair<TableFile*, const std::string*> files[] = {{&main_, &path_},
                                                                   {&aux_, &auxPath_}};
        for (const auto& [file, replaced] : files) {
            if (!file->isOpen()) continue;
            if (Status status = file->keepModeOf(*replaced); !status.ok()) return status;
            if (Status status = file->sync(); !status.ok()) return status;
            file->close();
        }
        if (tempAux_.empty()) {
            const platform::Replaced moved = platform::moveIntoPlace(fs_, tempMain_, path_);
            if (moved.failedAt == platform::ReplaceStep::Move)
                return Status::fromErrno(moved.error);
            // Moved: the new table is in place, whether or not the directory's
            // flush succeeded.
            tempMain_.clear();
            return {};
        }
        UndoLog undo(fs_, clock_, path_);
        if (Status status = undo.addRename(platform::lastComponent(tempAux_),
                                           platform::lastComponent(auxPath_));
            !status.ok()) {
            return status;
        }
        if (Status status =
                undo.addRename(platform::lastComponent(tempMain_), platform::lastComponent(path_));
            !status.ok()) {
            return status;
        }
        if (Status status = undo.commit(); !status.ok()) return status;
        // From here the switch is decided: an open of the destination
        // finishes it if this process does not.
        std::string tempAux = std::move(tempAux_), tempMain = std::move(tempMain_);
        tempAux_.clear();
        tempMain_.clear();
        if (int r = fs_.rename(tempAux, auxPath_); r < 0) return Status::fromErrno(r);
        if (const platform::Replaced moved = platform::moveIntoPlace(fs_, tempMain, path_);
            !moved.ok()) {
            return Status::fromErrno(moved.error);
        }
        return undo.finish();
    }

  private:
    Status openTemp(const std::string& path, TableFile& file, std::string& temp) {
        if (Status status = file.createTemporaryBeside(path, temp); !status.ok()) return status;
        file.setCiphers(cipher_, cipher_);
        return {};
    }

    Status flush() {
        if (pending_.empty()) return {};
        if (Status status = main_.write(end_, pending_); !status.ok()) return status;
        end_ += static_cast<std::int64_t>(pending_.size());
        pending_.clear();
        return {};
    }

    platform::FileSystem& fs_;
    Clock& clock_;
    Selection selection_;
    std::shared_ptr<Cipher> cipher_;
    TableFile main_;
    TableFile aux_;
    std::string path_, auxPath_;      // destination
    std::string tempMain_, tempAux_;  // while not moved into place
    std::int64_t end_ = 0;            // where the next record goes
    std::int32_t count_ = 0;
    std::vector<std::uint8_t> pending_;  // records not yet written
    std::vector<std::uint8_t> chain_;    // a memo or byte-array value in transit
};

// The number the k-th written record gets: k, negated for a deleted record.
std::int32_t writtenNumber(const std::uint8_t* record, std::int32_t k) {
    return loadI32(record) < 0 ? -k : k;
}

// The destination of sortInto and copyInto of the table `t` (through links,
// see tableFileOnDisk), checked (-4 for a side file's name), with its undo
// log (if an earlier switch was interrupted) applied and the temporaries that
// interrupted writes left removed. `self` tells whether it is `t`'s own main
// file (whose open applied any log already).
Status prepareDestination(const OpenTable& t, std::string_view file, std::string& path,
                          bool& self) {
    if (file.empty()) return Status::fail(error::kFileNotFound);
    auto found = tableFilePath(t.fs, file);
    if (!found || isSideFileName(*found)) return Status::fail(error::kBadPath);
    path = tableFileOnDisk(t.fs, *found);
    if (isSideFileName(path)) return Status::fail(error::kBadPath);
    platform::FileId id;
    self = t.fs.identifyEntry(path, id) == 0 && id == t.id;
    if (!self) {
        if (Status status = recoverTable(t.fs, t.clock, path); !status.ok()) return status;
    }
    removeStaleTemporaries(t.fs, path);
    return {};
}

// Adds the table's records to `out` in file order.
Status addInFileOrder(OpenTable& t, std::int64_t count, NewTable& out) {
    const std::int64_t length = t.layout.recordLength;
    TableFile* sourceAux = t.hasAux() ? &t.auxFile : nullptr;
    std::vector<std::uint8_t> buffer;
    std::int32_t written = 0;
    return forEachBatch(t.main, t.layout, count, buffer, [&](std::int64_t, auto run) {
        for (std::size_t at = 0; at < run.size(); at += static_cast<std::size_t>(length)) {
            const std::uint8_t* record = run.data() + at;
            if (Status status = requireNumbered(record); !status.ok()) return status;
            Status status = out.add(t.layout, record, writtenNumber(record, ++written), sourceAux);
            if (!status.ok()) return status;
        }
        return Status();
    });
}

// Adds the table's records to `out` in the order of `keys`.
Status addInKeyOrder(OpenTable& t, std::int64_t count, const std::vector<SortKey>& keys,
                     NewTable& out) {
    const std::int64_t length = t.layout.recordLength;
    TableFile* sourceAux = t.hasAux() ? &t.auxFile : nullptr;
    KeyOrder order(keys);
    const bool inMemory = count * length <= kSortInMemoryBytes;
    std::vector<std::uint8_t> records;
    Status status;
    if (inMemory) {
        // One read of the whole record area, then the keys from memory.
        records.resize(static_cast<std::size_t>(count * length));
        status = t.main.readExact(t.recordOffset(0), records, error::kRecordReadFailed);
        for (std::int64_t j = 0; status.ok() && j < count; ++j) {
            status = requireNumbered(records.data() + j * length);
            if (status.ok()) order.add(records.data() + j * length);
        }
    } else {
        status = forEachBatch(t.main, t.layout, count, records, [&](std::int64_t, auto run) {
            for (std::size_t at = 0; at < run.size(); at += static_cast<std::size_t>(length)) {
                if (Status numbered = requireNumbered(run.data() + at); !numbered.ok()) {
                    return numbered;
                }
                order.add(run.data() + at);
            }
            return Status();
        });
        records.resize(static_cast<std::size_t>(length));  // one record at a time from here
    }
    std::int32_t written = 0;
    for (std::uint32_t position : order.positions()) {
        if (!status.ok()) break;
        const std::uint8_t* record = records.data();
        if (inMemory) {
            record += static_cast<std::int64_t>(position) * length;
        } else {
            status = t.main.readExact(t.recordOffset(position), records, error::kRecordReadFailed);
            if (!status.ok()) break;
        }
        status = out.add(t.layout, record, writtenNumber(record, ++written), sourceAux);
    }
    return status;
}

// Writes the table's records into the new table `file`: in file order, or in
// the order of `sortKeys` (when given). `replacedSelf` tells whether `file`
// was the table's own file.
Status writeNewTable(OpenTable& t, std::string_view file, std::span<const std::string> fields,
                     const std::vector<SortKey>* sortKeys, bool& replacedSelf) {
    Selection selection;
    if (Status status = selectFields(t.layout, fields, selection); !status.ok()) return status;
    std::string path;
    if (Status status = prepareDestination(t, file, path, replacedSelf); !status.ok()) {
        return status;
    }
    if (hasChainedField(selection.layout)) {
        if (Status status = refuseSharedAuxiliary(t.fs, path); !status.ok()) return status;
    }
    // An existing destination that some open holds is not replaced under it:
    // the table's own file only by an open for writing that keeps every
    // other out until the table is closed.
    TableFile guard(t.fs, t.clock);
    if (replacedSelf) {
        if (t.share != ShareMode::Exclusive) return Status::fail(error::kSharingViolation);
        if (Status status = requireWritable(t); !status.ok()) return status;
    } else if (Status status = guard.open(path, false, false, ShareMode::Exclusive);
               !status.ok() && !status.is(error::kFileNotFound)) {
        return status;
    }
    NewTable out(t.fs, t.clock, std::move(selection), t.main.readCipher());
    if (Status status = out.create(path); !status.ok()) return status;

    WholeLock lock(t.main);
    if (Status status = lock.lock(); !status.ok()) return status;
    RecordCounts counts;
    if (!readCounts(t.main, counts).ok()) return Status::fail(error::kCountUnreadable);
    const std::int64_t count = std::max(counts.count, 0);
    Status status =
        sortKeys ? addInKeyOrder(t, count, *sortKeys, out) : addInFileOrder(t, count, out);
    return status.ok() ? out.finish() : status;
}

}  // namespace

bool Registry::sortInto(std::string_view file, std::span<const std::string> keys,
                        std::span<const bool> ascending, std::string_view condition,
                        std::span<const std::string> fields) {
    bool replacedSelf = false;
    const bool written = reportOn(current_, Access::Read, [&](OpenTable& t) -> Status {
        if (!condition.empty()) return Status::fail(error::kExpressionFailed);
        std::vector<SortKey> sortKeys;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const int number = t.fieldNumber(keys[i]);
            if (number == 0) return Status::fail(error::kBadKeyField);
            const FieldInfo& f = t.layout.fields[static_cast<std::size_t>(number - 1)];
            if (isChained(f.type)) return Status::fail(error::kBadKeyField);
            sortKeys.push_back({&f, i >= ascending.size() || ascending[i]});
        }
        if (sortKeys.empty()) return Status::fail(error::kBadKeyField);
        return writeNewTable(t, file, fields, &sortKeys, replacedSelf);
    });
    if (written && replacedSelf) closeTable();
    return written;
}

bool Registry::copyInto(std::string_view file, std::string_view condition,
                        std::span<const std::string> fields) {
    bool replacedSelf = false;
    const bool written = reportOn(current_, Access::Read, [&](OpenTable& t) -> Status {
        if (!condition.empty()) return Status::fail(error::kExpressionFailed);
        return writeNewTable(t, file, fields, nullptr, replacedSelf);
    });
    if (written && replacedSelf) closeTable();
    return written;
}

}  // namespace qinghe::recordstore
