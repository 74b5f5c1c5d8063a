// The operations on the records of the current table: counting, moving,
// reading, appending and marking deleted.
#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "common/gbk.h"
#include "recordstore/aux_file.h"
#include "recordstore/record_counts.h"
#include "recordstore/record_store.h"
#include "recordstore/table.h"
#include "recordstore/table_locks.h"
#include "recordstore/value_codec.h"

namespace qinghe::recordstore {
namespace {

using namespace format;
using qinghe::literals::operator""_gbk;

// A short read of a field: -10 when the record starts at or beyond the end
// of the file, else -46.
Status shortFieldRead(TableFile& file, std::int64_t recordOffset) {
    std::int64_t size = 0;
    return file.size(size).ok() && recordOffset >= size ? Status::fail(error::kSeekFailed)
                                                        : Status::fail(error::kFieldReadFailed);
}

// The value of a field of the current record: fixed-size fields from what was
// read ahead when the record lies below the count; a record beyond the count,
// and memo and byte-array values (whose blocks must not be freed while they
// are read), from disk under the record's lock. `value` is set only when the
// read succeeds.
Status readValue(OpenTable& t, const FieldInfo& field, Value& value) {
    if (t.position < 0) return Status::fail(error::kNoCurrentRecord);
    if (!isChained(field.type)) {
        const std::uint8_t* record = nullptr;
        if (Status status = t.ahead.fetch(t.main, t.layout, t.clock, t.position, record);
            !status.ok()) {
            return status;
        }
        if (record) {
            value = decodeValue(field, record + field.offset);
            return {};
        }
    }
    const std::int64_t recordOffset = t.recordOffset(t.position);
    ByteLock lock(t.main, recordOffset);
    if (Status status = lock.lock(platform::LockKind::Shared); !status.ok()) return status;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(field.size));
    std::size_t got = 0;
    if (Status status = t.main.read(recordOffset + field.offset, bytes, got); !status.ok()) {
        return status;
    }
    if (got < bytes.size()) return shortFieldRead(t.main, recordOffset);
    if (!isChained(field.type)) {
        value = decodeValue(field, bytes.data());
        return {};
    }
    if (!t.hasAux()) return Status::fail(error::kFieldReadFailed);
    std::vector<std::uint8_t> chain;
    if (Status status = AuxFile(t.auxFile).readValue(loadI32(bytes.data()), chain); !status.ok()) {
        return status;
    }
    if (field.type == FieldType::Memo) {
        value = std::string(chain.begin(), chain.end());
    } else {
        value = ByteArray(std::move(chain));
    }
    return {};
}

// The value chains written for a new record: freed again when the record
// does not make it into the table, kept once it does (or once it cannot be
// known whether it is visible).
class NewChains {
  public:
    explicit NewChains(TableFile& aux) : aux_(aux) {}
    NewChains(const NewChains&) = delete;
    NewChains& operator=(const NewChains&) = delete;
    ~NewChains() {
        // A failure to free them leaks the blocks (table check reports them).
        if (!kept_ && !chains_.empty()) (void)AuxFile(aux_).freeValues(chains_);
    }
    void add(std::int32_t firstBlock) { chains_.push_back(firstBlock); }
    void keep() { kept_ = true; }

  private:
    TableFile& aux_;
    std::vector<std::int32_t> chains_;
    bool kept_ = false;
};

// The bytes of a new record numbered `number`: the given values at their
// fields' offsets, memo and byte-array values written to new chains first.
Status buildRecord(OpenTable& t, std::span<const std::optional<Value>> values, std::int32_t number,
                   std::vector<std::uint8_t>& record, NewChains& chains) {
    // Open checked that every field lies in the record after its number.
    record.assign(static_cast<std::size_t>(t.layout.recordLength), 0);
    if (record.size() < kRecordNumberSize) return Status::fail(error::kRecordWriteFailed);
    storeI32(record.data(), number);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!values[i]) continue;
        const FieldInfo& field = t.layout.fields[i];
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
        if (!t.hasAux()) return Status::fail(error::kAuxAccessFailed);
        std::int32_t first = 0;
        if (Status status = AuxFile(t.auxFile).writeValue(bytes, first); !status.ok()) {
            return status;
        }
        chains.add(first);
        storeI32(record.data() + field.offset, first);
    }
    return {};
}

// Appends a record (values already checked against the fields) under the
// count lock and the new record's lock: the value chains, the record, then
// the count and next number in one write.
Status append(OpenTable& t, std::span<const std::optional<Value>> values) {
    ByteLock countLock(t.main, kCountOffset);
    if (Status status = countLock.lock(platform::LockKind::Exclusive); !status.ok()) return status;
    RecordCounts counts;
    if (Status status = readCounts(t.main, counts); !status.ok()) return status;
    const std::int32_t count = std::max(counts.count, 0);
    const std::int32_t next = std::max(counts.next, kFirstRecordNumber);
    if (count == INT32_MAX || next == INT32_MAX) return Status::fail(error::kRecordWriteFailed);
    const std::int64_t recordOffset = t.recordOffset(count);
    // The file stays within the whole-table lock's range.
    if (recordOffset + t.layout.recordLength > kMaxFileSize) {
        return Status::fail(error::kDiskFull);
    }
    ByteLock recordLock(t.main, recordOffset);
    if (Status status = recordLock.lock(platform::LockKind::Exclusive); !status.ok()) return status;

    NewChains chains(t.auxFile);
    std::vector<std::uint8_t> record;
    if (Status status = buildRecord(t, values, next, record, chains); !status.ok()) return status;
    if (Status status = t.main.write(recordOffset, record); !status.ok()) return status;
    if (Status status = writeCounts(t.main, {count + 1, next + 1}); !status.ok()) {
        // A short write may have advanced the count without the next number.
        // Put the old pair back, so that the record stays invisible and its
        // number unused; only then may its value chains be reused. When the
        // pair cannot be restored the chains are left (table check reports
        // them) rather than freed under a record that may be visible.
        if (!writeCounts(t.main, counts).ok()) chains.keep();
        return status;
    }
    chains.keep();
    t.position = count;
    return countLock.unlockWith(recordLock);
}

// Marks the current record deleted: its number negated, under its lock.
Status markDeleted(OpenTable& t) {
    if (t.position < 0) return Status::fail(error::kNoCurrentRecord);
    const std::int64_t recordOffset = t.recordOffset(t.position);
    ByteLock lock(t.main, recordOffset);
    if (Status status = lock.lock(platform::LockKind::Exclusive); !status.ok()) return status;
    std::array<std::uint8_t, kRecordNumberSize> number;
    std::size_t got = 0;
    if (Status status = t.main.read(recordOffset, number, got); !status.ok()) return status;
    if (got < number.size()) return Status::fail(error::kNoCurrentRecord);
    const std::int32_t value = loadI32(number.data());
    if (value <= 0) return {};  // marked already
    storeI32(number.data(), -value);
    return t.main.write(recordOffset, number);
}

}  // namespace

int Registry::recordCount() {
    std::int32_t count = 0;
    bool counted = reportOn(current_, Access::Read, [&](OpenTable& t) {
        return t.ahead.count(t.main, t.clock, false, count);
    });
    return counted ? std::max(count, 0) : 0;
}

bool Registry::skip(int n) {
    return reportOn(current_, Access::Read, [&](OpenTable& t) -> Status {
        if (n == 0) return {};
        std::int32_t count = 0;
        if (Status status = t.ahead.count(t.main, t.clock, true, count); !status.ok()) {
            return status;
        }
        count = std::max(count, 0);
        if (n > 0) {
            if (count == 0 || t.position >= count) return Status::fail(error::kAfterLastRecord);
            t.position = std::min<std::int64_t>(count, t.position + n);
        } else {
            if (count == 0 || t.position < 0) return Status::fail(error::kBeforeFirstRecord);
            t.position = std::max<std::int64_t>(-1, t.position + n);
        }
        return {};
    });
}

bool Registry::goLast() {
    return reportOn(current_, Access::Read, [&](OpenTable& t) -> Status {
        std::int32_t count = 0;
        if (Status status = t.ahead.count(t.main, t.clock, false, count); !status.ok()) {
            return status;
        }
        t.position = count > 0 ? count - 1 : 0;
        return {};
    });
}

Value Registry::readField(std::string_view name) {
    return readField(current_ ? current_->fieldNumber(name) : 0);
}

Value Registry::readField(int number) {
    Value value = std::int32_t{0};
    report([&]() -> Status {
        if (!current_) {
            return raiseFatalError(error::kNoCurrentTable,
                                   "未指定当前数据库或者指定数据库未打开"_gbk);
        }
        const auto& fields = current_->layout.fields;
        if (number < 1 || static_cast<std::size_t>(number) > fields.size()) {
            return raiseFatalError(error::kNoSuchField, errorMessage(error::kNoSuchField));
        }
        const FieldInfo& field = fields[static_cast<std::size_t>(number - 1)];
        Status status;
        try {
            status = readValue(*current_, field, value);
        } catch (const std::bad_alloc&) {
            value = zeroValue(field.type);  // a failed read gives the empty value
            throw;
        }
        if (!status.ok()) value = zeroValue(field.type);
        return status;
    });
    return value;
}

bool Registry::appendRecord(std::span<const std::optional<Value>> values) {
    return reportOn(current_, Access::Read, [&](OpenTable& t) -> Status {
        // Only the values of fields that exist are used.
        values = values.first(std::min(values.size(), t.layout.fields.size()));
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (values[i] && !fitsField(*values[i], t.layout.fields[i].type)) {
                return Status::fail(error::kValueTypeMismatch);
            }
        }
        if (Status status = requireWritable(t); !status.ok()) return status;
        return append(t, values);
    });
}

bool Registry::deleteCurrent(std::string_view condition) {
    return reportOn(current_, Access::Write, [&](OpenTable& t) -> Status {
        if (!condition.empty()) return Status::fail(error::kExpressionFailed);
        return markDeleted(t);
    });
}

std::int32_t Registry::recordNumber() {
    std::int32_t number = 0;
    reportOn(current_, Access::Read, [&](OpenTable& t) -> Status {
        if (t.position < 0) return Status::fail(error::kNoCurrentRecord);
        const std::int64_t recordOffset = t.recordOffset(t.position);
        ByteLock lock(t.main, recordOffset);
        if (Status status = lock.lock(platform::LockKind::Shared); !status.ok()) return status;
        std::array<std::uint8_t, kRecordNumberSize> bytes;
        Status status = t.main.readExact(recordOffset, bytes, error::kNoCurrentRecord);
        if (status.ok()) number = loadI32(bytes.data());
        return status;
    });
    return number;
}

}  // namespace qinghe::recordstore
