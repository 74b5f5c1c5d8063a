// The whole journal in memory, in file order, for the grid and the export:
// each record's values held compactly (48 bytes a record, and its two texts
// in one shared buffer), so that a journal of 100,000 days takes less memory
// than its file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_access.h"

namespace qinghe::journal {

class JournalRows {
  public:
    std::size_t size() const { return rows_.size(); }
    void reserve(std::size_t records);
    // Adds a record at the end; false (nothing added) when the texts of all
    // rows would exceed 4 GiB.
    bool append(const JournalRecord& record);

    DateTime date(std::size_t row) const { return rows_[row].date; }
    // A whole-number field (G1 ... 旷工) of a row.
    std::int32_t integer(std::size_t row, Field field) const;
    // A text field (备注 or 星期) of a row, GBK.
    std::string_view text(std::size_t row, Field field) const;
    JournalRecord record(std::size_t row) const;

    // The bytes these rows hold (capacity included).
    std::size_t memoryBytes() const;

  private:
    struct Row {
        DateTime date;
        std::int32_t integers[std::size(kIntegerFields)];  // in the order of kIntegerFields
        std::uint32_t textOffset;                          // of the remark; the weekday follows
        std::uint16_t remarkLength;
        std::uint16_t weekdayLength;
    };
    std::vector<Row> rows_;
    std::string texts_;
};

// Opens the journal read-only and reads every record.
bool readJournalRows(const JournalAccess& access, JournalRows& rows, StoreError& error);

}  // namespace qinghe::journal
