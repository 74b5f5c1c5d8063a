#include "journal/journal_rows.h"

#include <limits>
#include <new>

#include "recordstore/errors.h"

namespace qinghe::journal {
namespace {

constexpr int kOutOfMemory = -55;  // the record store's "内存不足"

std::size_t integerIndex(Field field) {
    std::size_t i = 0;
    while (i + 1 < std::size(kIntegerFields) && kIntegerFields[i].field != field) ++i;
    return i;
}

}  // namespace

void JournalRows::reserve(std::size_t records) {
    rows_.reserve(records);
}

bool JournalRows::append(const JournalRecord& record) {
    // Text fields hold at most 1024 bytes, so the lengths fit 16 bits.
    const std::size_t added = record.remark.size() + record.weekday.size();
    if (texts_.size() + added > std::numeric_limits<std::uint32_t>::max()) return false;
    Row row{};
    row.date = record.date;
    for (std::size_t i = 0; i < std::size(kIntegerFields); ++i) {
        row.integers[i] = record.*kIntegerFields[i].member;
    }
    row.textOffset = static_cast<std::uint32_t>(texts_.size());
    row.remarkLength = static_cast<std::uint16_t>(record.remark.size());
    row.weekdayLength = static_cast<std::uint16_t>(record.weekday.size());
    texts_ += record.remark;
    texts_ += record.weekday;
    rows_.push_back(row);
    return true;
}

std::int32_t JournalRows::integer(std::size_t row, Field field) const {
    return rows_[row].integers[integerIndex(field)];
}

std::string_view JournalRows::text(std::size_t row, Field field) const {
    const Row& r = rows_[row];
    std::string_view all(texts_);
    return field == Field::Remark ? all.substr(r.textOffset, r.remarkLength)
                                  : all.substr(r.textOffset + r.remarkLength, r.weekdayLength);
}

JournalRecord JournalRows::record(std::size_t row) const {
    JournalRecord r;
    r.date = date(row);
    for (const IntegerField& f : kIntegerFields) r.*f.member = integer(row, f.field);
    for (const TextField& f : kTextFields) r.*f.member = std::string(text(row, f.field));
    return r;
}

std::size_t JournalRows::memoryBytes() const {
    return rows_.capacity() * sizeof(Row) + texts_.capacity();
}

bool readJournalRows(const JournalAccess& access, JournalRows& rows, StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadOnly);
    JournalRows read;
    int count = 0;
    bool ok = journal.isOpen() && journal.count(count);
    bool fits = true;
    try {
        if (ok) read.reserve(static_cast<std::size_t>(count));
        for (int i = 0; ok && fits && i < count; ++i) {
            JournalRecord record;
            ok = journal.read(record) && journal.next();
            fits = !ok || read.append(record);
        }
    } catch (const std::bad_alloc&) {
        fits = false;
    }
    if (!fits) {
        error = {kOutOfMemory, recordstore::errorMessage(kOutOfMemory), false};
        return false;
    }
    if (!ok) {
        error = journal.error();
        return false;
    }
    rows = std::move(read);
    return true;
}

}  // namespace qinghe::journal
