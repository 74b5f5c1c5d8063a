// The operations on the records of the current table.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "common/gbk.h"
#include "recordstore/aux_file.h"
#include "recordstore/batches.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"
#include "recordstore/record_counts.h"
#include "recordstore/record_store.h"
#include "recordstore/table.h"
#include "recordstore/table_locks.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

using namespace format;
using qinghe::literals::operator""_gbk;

template <typename T>
T saturate(const Value& value) {
    constexpr auto lo = std::numeric_limits<T>::lowest();
    constexpr auto hi = std::numeric_limits<T>::max();
    return std::visit(
        [](const auto& v) -> T {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_floating_point_v<V>) {
                if constexpr (std::is_floating_point_v<T>) {
                    return static_cast<T>(v);
                } else {
                    auto d = static_cast<double>(v);
                    if (std::isnan(d)) return T{0};
                    if (d <= static_cast<double>(lo)) return lo;
                    if (d >= static_cast<double>(hi)) return hi;
                    return static_cast<T>(v);
                }
            } else if constexpr (std::is_integral_v<V>) {
                if constexpr (std::is_floating_point_v<T>) {
                    return static_cast<T>(v);
                } else {
                    auto wide = static_cast<std::int64_t>(v);
                    if (std::cmp_less(wide, lo)) return lo;
                    if (std::cmp_greater(wide, hi)) return hi;
                    return static_cast<T>(wide);
                }
            } else {
                return T{0};
            }
        },
        value);
}

bool fitsField(const Value& value, FieldType type) {
    if (value.index() == valueIndexOf(type)) return true;
    return isNumeric(value) && isNumeric(zeroValue(type));
}

// Stores a fixed-size value (every type but byte array and memo).
void encodeValue(const Value& value, const FieldInfo& field, std::uint8_t* at) {
    switch (field.type) {
        case FieldType::Byte:
            *at = saturate<std::uint8_t>(value);
            break;
        case FieldType::Short: {
            auto v = static_cast<std::uint16_t>(saturate<std::int16_t>(value));
            at[0] = static_cast<std::uint8_t>(v);
            at[1] = static_cast<std::uint8_t>(v >> 8);
            break;
        }
        case FieldType::Int:
            storeI32(at, saturate<std::int32_t>(value));
            break;
        case FieldType::Int64:
            storeI64(at, saturate<std::int64_t>(value));
            break;
        case FieldType::Float: {
            float f = saturate<float>(value);
            std::uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            storeI32(at, static_cast<std::int32_t>(bits));
            break;
        }
        case FieldType::Double:
            storeDouble(at, saturate<double>(value));
            break;
        case FieldType::Bool:
            *at = std::get<bool>(value) ? 1 : 0;
            break;
        case FieldType::DateTime:
            storeDouble(at, std::get<Timestamp>(value).days);
            break;
        case FieldType::Reference:
            storeI32(at, static_cast<std::int32_t>(std::get<Reference>(value).address));
            break;
        case FieldType::Text: {
            const auto& text = std::get<std::string>(value);
            std::size_t n = std::min(text.size(), static_cast<std::size_t>(field.size));
            std::memcpy(at, text.data(), n);  // the rest stays zero: terminator and padding
            break;
        }
        case FieldType::ByteArray:
        case FieldType::Memo:
            break;
    }
}

Value decodeValue(const FieldInfo& field, const std::uint8_t* at) {
    switch (field.type) {
        case FieldType::Byte:
            return at[0];
        case FieldType::Short:
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | at[1] << 8));
        case FieldType::Int:
            return loadI32(at);
        case FieldType::Int64:
            return loadI64(at);
        case FieldType::Float: {
            auto bits = static_cast<std::uint32_t>(loadI32(at));
            float f;
            std::memcpy(&f, &bits, sizeof f);
            return f;
        }
        case FieldType::Double:
            return loadDouble(at);
        case FieldType::Bool:
            return at[0] != 0;
        case FieldType::DateTime:
            return Timestamp{clampDateTime(loadDouble(at))};
        case FieldType::Reference:
            return Reference{static_cast<std::uint32_t>(loadI32(at))};
        case FieldType::Text: {
            const auto* end = std::find(at, at + field.size, 0);
            return std::string(at, end);
        }
        case FieldType::ByteArray:
        case FieldType::Memo:
            break;
    }
    return zeroValue(field.type);
}

// -10 when the record starts at or beyond the end of the file, else -46.
int shortFieldRead(TableFile& file, std::int64_t recordOffset) {
    std::int64_t size = file.size();
    return size >= 0 && recordOffset >= size ? error::kSeekFailed : error::kFieldReadFailed;
}

// Frees the chains of dropped records under an undo log of the auxiliary
// file's header and of the block heads that the free list's relinking writes.
int freeUnderUndoLog(FileSystem& fs, Clock& clock, OpenTable& t,
                     std::span<const std::int32_t> chains) {
    AuxFile aux(t.auxFile);
    std::vector<std::int32_t> relinked;
    if (int code = aux.blocksRelinkedByFree(chains, relinked); code != error::kOk) return code;
    UndoLog undoLog(fs, clock, t.path);
    int code = undoLog.saveLength(TablePart::Aux, t.auxFile);
    if (code == error::kOk) code = undoLog.saveRange(TablePart::Aux, t.auxFile, 0, kAuxHeaderSize);
    for (std::int32_t block : relinked) {
        if (code != error::kOk) break;
        code = undoLog.saveRange(
            TablePart::Aux, t.auxFile,
            static_cast<std::int64_t>(block) * static_cast<std::int64_t>(kBlockSize),
            kBlockDataOffset);
    }
    if (code == error::kOk) code = undoLog.commit();
    if (code != error::kOk) return code;
    code = aux.freeValues(chains);
    if (code == error::kOk) code = t.auxFile.sync();
    if (code == error::kOk) code = undoLog.finish();
    if (code != error::kOk) undoLog.rollBack(t.main, &t.auxFile);
    return code;
}

}  // namespace

OpenTable* Registry::tableForWriting() {
    OpenTable* t = current();
    if (!t) return fail(error::kNoCurrentTable), nullptr;
    if (t->readOnly) return fail(error::kAccessDenied), nullptr;
    t->ahead.drop();  // what was read ahead may change
    return t;
}

int Registry::recordCount() {
    setLastError(error::kOk);
    OpenTable* t = current();
    if (!t) return fail(error::kNoCurrentTable), 0;
    std::int32_t count = 0;
    if (int code = t->ahead.count(t->main, clock_, false, count); code != error::kOk)
        return fail(code), 0;
    return std::max(count, 0);
}

bool Registry::skip(int n) {
    setLastError(error::kOk);
    OpenTable* t = current();
    if (!t) return fail(error::kNoCurrentTable), false;
    if (n == 0) return true;
    std::int32_t count = 0;
    if (int code = t->ahead.count(t->main, clock_, true, count); code != error::kOk) {
        return fail(code), false;
    }
    count = std::max(count, 0);
    if (n > 0) {
        if (count == 0 || t->position >= count) return fail(error::kAfterLastRecord), false;
        t->position = std::min<std::int64_t>(count, t->position + n);
    } else {
        if (count == 0 || t->position < 0) return fail(error::kBeforeFirstRecord), false;
        t->position = std::max<std::int64_t>(-1, t->position + n);
    }
    return true;
}

bool Registry::goLast() {
    setLastError(error::kOk);
    OpenTable* t = current();
    if (!t) return fail(error::kNoCurrentTable), false;
    std::int32_t count = 0;
    if (int code = t->ahead.count(t->main, clock_, false, count); code != error::kOk) {
        return fail(code), false;
    }
    t->position = count > 0 ? count - 1 : 0;
    return true;
}

Value Registry::readField(std::string_view name) {
    setLastError(error::kOk);
    OpenTable* t = current();
    if (!t) {
        raiseFatalError(error::kNoCurrentTable, "未指定当前数据库或者指定数据库未打开"_gbk);
        return std::int32_t{0};
    }
    std::string folded = foldName(name);
    auto it = std::find(t->foldedNames.begin(), t->foldedNames.end(), folded);
    if (it == t->foldedNames.end()) {
        raiseFatalError(error::kNoSuchField, errorMessage(error::kNoSuchField));
        return std::int32_t{0};
    }
    return readField(static_cast<int>(it - t->foldedNames.begin()) + 1);
}

Value Registry::readField(int number) {
    setLastError(error::kOk);
    OpenTable* t = current();
    if (!t) {
        raiseFatalError(error::kNoCurrentTable, "未指定当前数据库或者指定数据库未打开"_gbk);
        return std::int32_t{0};
    }
    if (number < 1 || static_cast<std::size_t>(number) > t->layout.fields.size()) {
        raiseFatalError(error::kNoSuchField, errorMessage(error::kNoSuchField));
        return std::int32_t{0};
    }
    const FieldInfo& field = t->layout.fields[static_cast<std::size_t>(number - 1)];
    Value zero = zeroValue(field.type);
    if (t->position < 0) return fail(error::kNoCurrentRecord), zero;
    std::int64_t recordOffset = t->recordOffset(t->position);

    if (!isChained(field.type)) {
        const std::uint8_t* record = nullptr;
        int code = t->ahead.fetch(t->main, t->layout, clock_, t->position, record);
        if (code == error::kOk) return decodeValue(field, record + field.offset);
        if (code != kNotReadAhead) return fail(code), zero;
    }
    // From disk under the record lock: a record beyond the count, or a
    // chained value whose blocks must not be freed while it is read.
    ByteLock lock(t->main, recordOffset);
    if (int code = lock.lock(LockKind::Shared); code != error::kOk) return fail(code), zero;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(field.size));
    std::int64_t got = t->main.read(recordOffset + field.offset, bytes);
    if (got < 0) return fail(static_cast<int>(got)), zero;
    if (static_cast<std::size_t>(got) < bytes.size()) {
        return fail(shortFieldRead(t->main, recordOffset)), zero;
    }
    if (!isChained(field.type)) return decodeValue(field, bytes.data());
    if (!t->hasAux()) return fail(error::kFieldReadFailed), zero;
    std::vector<std::uint8_t> value;
    AuxFile aux(t->auxFile);
    if (int code = aux.readValue(loadI32(bytes.data()), value); code != error::kOk) {
        return fail(code), zero;
    }
    if (field.type == FieldType::Memo) return std::string(value.begin(), value.end());
    return ByteArray(std::move(value));
}

bool Registry::appendRecord(std::span<const std::optional<Value>> values) {
    setLastError(error::kOk);
    OpenTable* t = current();
    if (!t) return fail(error::kNoCurrentTable), false;
    const auto& fields = t->layout.fields;
    std::size_t used = std::min(values.size(), fields.size());
    for (std::size_t i = 0; i < used; ++i) {
        if (values[i] && !fitsField(*values[i], fields[i].type)) {
            return fail(error::kValueTypeMismatch), false;
        }
    }
    if (t->readOnly) return fail(error::kAccessDenied), false;
    t->ahead.drop();  // the count changes

    ByteLock countLock(t->main, kCountOffset);
    if (int code = countLock.lock(LockKind::Exclusive); code != error::kOk) {
        return fail(code), false;
    }
    RecordCounts counts;
    if (int code = readCounts(t->main, counts); code != error::kOk) return fail(code), false;
    std::int32_t count = std::max(counts.count, 0);
    std::int32_t next = std::max(counts.next, kFirstRecordNumber);
    if (count == INT32_MAX || next == INT32_MAX) return fail(error::kRecordWriteFailed), false;
    std::int64_t recordOffset = t->recordOffset(count);
    ByteLock recordLock(t->main, recordOffset);
    if (int code = recordLock.lock(LockKind::Exclusive); code != error::kOk) {
        return fail(code), false;
    }

    // Open checked that every field lies in the record after its number.
    std::vector<std::uint8_t> record(static_cast<std::size_t>(t->layout.recordLength), 0);
    if (record.size() < kRecordNumberSize) return fail(error::kRecordWriteFailed), false;
    storeI32(record.data(), next);
    std::vector<std::int32_t> chains;
    auto dropChains = [&] {
        if (!chains.empty()) AuxFile(t->auxFile).freeValues(chains);
    };
    for (std::size_t i = 0; i < used; ++i) {
        if (!values[i]) continue;
        const FieldInfo& field = fields[i];
        if (!isChained(field.type)) {
            encodeValue(*values[i], field, record.data() + field.offset);
            continue;
        }
        std::span<const std::uint8_t> bytes;
        if (const auto* text = std::get_if<std::string>(&*values[i])) {
            bytes = {reinterpret_cast<const std::uint8_t*>(text->data()), text->size()};
        } else {
            bytes = std::get<ByteArray>(*values[i]);
        }
        if (bytes.empty()) continue;
        if (!t->hasAux()) return fail(error::kAuxAccessFailed), false;
        std::int32_t first = 0;
        if (int code = AuxFile(t->auxFile).writeValue(bytes, first); code != error::kOk) {
            dropChains();
            return fail(code), false;
        }
        chains.push_back(first);
        storeI32(record.data() + field.offset, first);
    }
    if (int code = t->main.write(recordOffset, record); code != error::kOk) {
        dropChains();
        return fail(code), false;
    }
    if (int code = writeCounts(t->main, {count + 1, next + 1}); code != error::kOk) {
        // A short write may have advanced the count without the next number.
        // Put the old pair back, so that the record stays invisible and its
        // number unused; only then may its value chains be reused. When the
        // pair cannot be restored the chains are left (table check reports
        // them) rather than freed under a record that may be visible.
        if (writeCounts(t->main, counts) == error::kOk) dropChains();
        return fail(code), false;
    }
    t->position = count;
    if (int code = countLock.unlockWith(recordLock); code != error::kOk) return fail(code), false;
    return true;
}

bool Registry::deleteCurrent(std::string_view condition) {
    setLastError(error::kOk);
    OpenTable* t = tableForWriting();
    if (!t) return false;
    if (!condition.empty()) return fail(error::kExpressionFailed), false;
    if (t->position < 0) return fail(error::kNoCurrentRecord), false;
    std::int64_t recordOffset = t->recordOffset(t->position);
    ByteLock lock(t->main, recordOffset);
    if (int code = lock.lock(LockKind::Exclusive); code != error::kOk) return fail(code), false;
    std::array<std::uint8_t, kRecordNumberSize> number;
    std::int64_t got = t->main.read(recordOffset, number);
    if (got < 0) return fail(static_cast<int>(got)), false;
    if (static_cast<std::size_t>(got) < number.size()) return fail(error::kNoCurrentRecord), false;
    std::int32_t value = loadI32(number.data());
    if (value > 0) {
        storeI32(number.data(), -value);
        if (int code = t->main.write(recordOffset, number); code != error::kOk) {
            return fail(code), false;
        }
    }
    return true;
}

std::int32_t Registry::recordNumber() {
    setLastError(error::kOk);
    OpenTable* t = current();
    if (!t) return fail(error::kNoCurrentTable), 0;
    if (t->position < 0) return fail(error::kNoCurrentRecord), 0;
    std::int64_t recordOffset = t->recordOffset(t->position);
    ByteLock lock(t->main, recordOffset);
    if (int code = lock.lock(LockKind::Shared); code != error::kOk) return fail(code), 0;
    std::array<std::uint8_t, kRecordNumberSize> number;
    if (int code = t->main.readExact(recordOffset, number, error::kNoCurrentRecord);
        code != error::kOk) {
        return fail(code), 0;
    }
    return loadI32(number.data());
}

bool Registry::pack() {
    setLastError(error::kOk);
    OpenTable* t = tableForWriting();
    if (!t) return false;
    WholeLock lock(t->main);
    if (int code = lock.lock(); code != error::kOk) return fail(code), false;
    RecordCounts counts;
    if (readCounts(t->main, counts) != error::kOk) return fail(error::kCountUnreadable), false;
    const std::int64_t count = std::max(counts.count, 0);
    const std::int64_t length = t->layout.recordLength;
    std::vector<std::int32_t> chains;
    std::int64_t kept = 0;
    // Before the first change, the undo log saves what pack may overwrite: the
    // count, the length, and every byte from the first record that moves or
    // goes. A failure after that rolls the table back; a crash leaves the log
    // to the next open.
    UndoLog undoLog(fs_, clock_, t->path);
    bool saved = false;
    auto protect = [&]() -> int {
        if (saved) return error::kOk;
        int code = undoLog.saveLength(TablePart::Main, t->main);
        if (code == error::kOk)
            code = undoLog.saveRange(TablePart::Main, t->main, kCountOffset, kCountAndNextSize);
        if (code == error::kOk)
            code = undoLog.saveRange(TablePart::Main, t->main, t->recordOffset(kept), INT64_MAX);
        if (code == error::kOk) code = undoLog.commit();
        saved = code == error::kOk;
        return code;
    };
    auto rolledBack = [&](int code) {
        if (saved) undoLog.rollBack(t->main, nullptr);
        return fail(code), false;
    };
    // Each batch's kept records move down over the gaps before them; a batch
    // is written back once any record before its end has been dropped.
    std::vector<std::uint8_t> buffer;
    int moved = forEachBatch(
        t->main, t->layout, count, buffer, [&](std::int64_t in, std::span<std::uint8_t> run) {
            const auto n = static_cast<std::int64_t>(run.size()) / length;
            std::int64_t keptHere = 0;
            for (std::int64_t j = 0; j < n; ++j) {
                std::uint8_t* record = run.data() + j * length;
                if (loadI32(record) < 0) {
                    for (const auto& field : t->layout.fields) {
                        if (isChained(field.type)) chains.push_back(loadI32(record + field.offset));
                    }
                    continue;
                }
                if (keptHere != j)
                    std::memmove(run.data() + keptHere * length, record,
                                 static_cast<std::size_t>(length));
                ++keptHere;
            }
            if (kept + keptHere != in + n && keptHere > 0) {
                if (int code = protect(); code != error::kOk) return code;
                if (int code =
                        t->main.write(t->recordOffset(kept),
                                      run.first(static_cast<std::size_t>(keptHere * length)));
                    code != error::kOk) {
                    return code;
                }
            }
            kept += keptHere;
            return error::kOk;
        });
    if (moved != error::kOk) return rolledBack(moved);
    if (kept < count) {
        if (int code = protect(); code != error::kOk) return rolledBack(code);
        if (int code = writeCount(t->main, static_cast<std::int32_t>(kept)); code != error::kOk)
            return rolledBack(code);
        if (int code = t->main.truncate(t->recordOffset(kept)); code != error::kOk)
            return rolledBack(code);
    }
    if (saved) {
        int code = t->main.sync();
        if (code == error::kOk) code = undoLog.finish();
        if (code != error::kOk) return rolledBack(code);
    }
    // The blocks of dropped values are freed only now that no record names
    // them, under an undo log of their own: a crash between the two leaks the
    // blocks (table check reports them) and loses nothing.
    chains.erase(std::remove(chains.begin(), chains.end(), 0), chains.end());
    if (!chains.empty()) {
        if (!t->hasAux()) return fail(error::kAuxAccessFailed), false;
        if (int code = freeUnderUndoLog(fs_, clock_, *t, chains); code != error::kOk) {
            t->position = 0;
            return fail(code), false;
        }
    }
    t->position = 0;
    return true;
}

bool Registry::zap() {
    setLastError(error::kOk);
    OpenTable* t = tableForWriting();
    if (!t) return false;
    WholeLock lock(t->main);
    if (int code = lock.lock(); code != error::kOk) return fail(code), false;
    if (int code = writeCount(t->main, 0); code != error::kOk) return fail(code), false;
    if (int code = t->main.truncate(t->layout.dataOffset); code != error::kOk) {
        return fail(code), false;
    }
    if (t->hasAux()) {
        if (int code = AuxFile(t->auxFile).reset(); code != error::kOk) return fail(code), false;
    }
    t->position = 0;
    return true;
}

}  // namespace qinghe::recordstore
