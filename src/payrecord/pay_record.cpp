#include "payrecord/pay_record.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>

#include "common/gbk.h"
#include "platform/paths.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"

namespace qinghe::payrecord {

using namespace literals;
namespace rs = qinghe::recordstore;
using journal::StoreError;

namespace {

// The record store's code for a field of another type than asked for.
constexpr int kFieldTypeWrong = -70;  // "字段类型错误"

constexpr int kYear = 1;
constexpr int kMonth = 2;
constexpr int kFirstMoney = 3;  // fields 3..8 hold moneyOf's amounts in its order
constexpr int kRules = 9;

template <typename Row>
auto moneyOf(Row& row) {
    return std::array{&row.income.gross, &row.income.special, &row.income.specialAdditional,
                      &row.income.other, &row.withheld,       &row.net};
}

StoreError errorOf(int code) {
    return {code, rs::errorMessage(code), false};
}

// 0 when the table has exactly the nine fields, by name (without regard to
// the case of ASCII letters) and type, else the code of the first fault.
int checkFields(const rs::TableInfo& info) {
    const std::vector<rs::FieldSpec>& wanted = payRecordFields();
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (i >= info.fields.size() || !rs::sameName(info.fields[i].name, wanted[i].name)) {
            return rs::error::kNoSuchField;
        }
        if (static_cast<int>(info.fields[i].type) != wanted[i].type) return kFieldTypeWrong;
    }
    return info.fields.size() == wanted.size() ? 0 : kFieldTypeWrong;
}

// The pay record, open from construction to destruction and current
// meanwhile.
class OpenPayRecord {
  public:
    OpenPayRecord(const journal::JournalAccess& access, bool readOnly) : store_(access.store) {
        const std::string table = journal::tablePathIn(access.fs, access.directory, kTableName);
        if (table.empty()) {
            error_ = errorOf(rs::error::kBadPath);
        } else if (!journal::openStoreTable(
                       store_, table,
                       readOnly ? journal::OpenMode::ReadOnly : journal::OpenMode::ReadWrite,
                       access.password)) {
            error_ = journal::lastStoreError();
        } else if (const std::optional<rs::TableInfo> info = store_.currentTableInfo(); !info) {
            error_ = journal::lastStoreError();
            store_.closeTable();
        } else if (const int fault = checkFields(*info); fault != 0) {
            error_ = errorOf(fault);
            store_.closeTable();
        } else {
            open_ = true;
        }
        error_.opening = !open_;
    }
    OpenPayRecord(const OpenPayRecord&) = delete;
    OpenPayRecord& operator=(const OpenPayRecord&) = delete;
    ~OpenPayRecord() {
        if (open_) store_.closeTable();
    }

    bool isOpen() const { return open_; }
    const StoreError& error() const { return error_; }

    // The live rows with their positions, in file order.
    bool readAll(std::vector<std::pair<std::int64_t, PayRow>>& rows) {
        const int count = store_.recordCount();
        if (!step(rs::lastError() == rs::error::kOk)) return false;
        for (int i = 0; i < count; ++i) {
            const std::int32_t number = store_.recordNumber();
            if (!step(rs::lastError() == rs::error::kOk)) return false;
            PayRow row;
            if (number > 0) {
                if (!read(row)) return false;
                rows.emplace_back(i, row);
            }
            if (!step(store_.skip())) return false;
        }
        return true;
    }

    bool append(const PayRow& row) {
        // The values in field order: year, month, the amounts, the rules.
        std::vector<rs::Value> values = {std::int32_t{row.year}, std::int32_t{row.month}};
        for (const wages::Fen* amount : moneyOf(row)) values.emplace_back(std::int64_t{*amount});
        values.emplace_back(wages::rulesName(row.rules));
        const std::vector<std::optional<rs::Value>> record(values.begin(), values.end());
        return step(store_.appendRecord(record));
    }

    bool copyTo(const std::string& gbkTablePath) { return step(store_.copyInto(gbkTablePath)); }

    // Marks the records at `positions` deleted and packs the table.
    bool removeAt(const std::vector<std::int64_t>& positions) {
        if (positions.empty()) return true;
        for (const std::int64_t at : positions) {
            const auto moveBy = static_cast<int>(at - store_.position());
            if (moveBy != 0 && !step(store_.skip(moveBy))) return false;
            if (!step(store_.deleteCurrent())) return false;
        }
        return step(store_.pack());
    }

  private:
    bool read(PayRow& row) {
        row.year = std::get<std::int32_t>(store_.readField(kYear));
        row.month = std::get<std::int32_t>(store_.readField(kMonth));
        int field = kFirstMoney;
        for (wages::Fen* amount : moneyOf(row)) {
            *amount = std::get<std::int64_t>(store_.readField(field++));
        }
        row.rules = wages::rulesNamed(std::get<std::string>(store_.readField(kRules)));
        return step(rs::lastError() == rs::error::kOk);
    }

    bool step(bool done) {
        if (!done) error_ = journal::lastStoreError();
        return done;
    }

    rs::Registry& store_;
    bool open_ = false;
    StoreError error_;
};

bool sameMonth(const PayRow& a, const PayRow& b) {
    return a.year == b.year && a.month == b.month;
}

// The positions of the live rows of the month of `row`.
std::vector<std::int64_t> positionsOf(const std::vector<std::pair<std::int64_t, PayRow>>& rows,
                                      const PayRow& row) {
    std::vector<std::int64_t> positions;
    for (const auto& [at, r] : rows) {
        if (sameMonth(r, row)) positions.push_back(at);
    }
    return positions;
}

bool tableExists(const journal::JournalAccess& access) {
    const std::string file = platform::resolveIgnoringCase(
        access.fs,
        platform::childPath(access.directory, gbk::toUtf8(kTableName) + std::string(".EDB")));
    platform::FileStatus status;
    return access.fs.status(file, status) != -ENOENT;
}

// A new empty table with the folder's password: made without one and keyed
// before its first row, so that no row is ever written in the clear.
bool createTable(const journal::JournalAccess& access, StoreError& error) {
    const std::string table = journal::tablePathIn(access.fs, access.directory, kTableName);
    if (table.empty()) {
        error = errorOf(rs::error::kBadPath);
        return false;
    }
    if (!access.store.createTable(table, payRecordFields())) {
        error = journal::lastStoreError();
        return false;
    }
    if (access.password.empty()) return true;
    journal::JournalAccess plain = access;
    plain.password.clear();
    OpenPayRecord record(plain, false);
    if (!record.isOpen() || !access.store.setPassword(access.password)) {
        error = record.isOpen() ? journal::lastStoreError() : record.error();
        return false;
    }
    return true;
}

template <typename Change>
bool change(const journal::JournalAccess& access, Change apply, StoreError& error) {
    OpenPayRecord record(access, false);
    std::vector<std::pair<std::int64_t, PayRow>> rows;
    if (!record.isOpen() || !record.readAll(rows) || !apply(record, rows)) {
        error = record.error();
        return false;
    }
    return true;
}

}  // namespace

const std::vector<rs::FieldSpec>& payRecordFields() {
    constexpr int kInt = static_cast<int>(rs::format::FieldType::Int);
    constexpr int kFen = static_cast<int>(rs::format::FieldType::Int64);
    constexpr int kText = static_cast<int>(rs::format::FieldType::Text);
    static const std::vector<rs::FieldSpec> fields = {
        {"年"_gbk, kInt, 0},       {"月"_gbk, kInt, 0},           {"应发工资"_gbk, kFen, 0},
        {"专项扣除"_gbk, kFen, 0}, {"专项附加扣除"_gbk, kFen, 0}, {"其他扣除"_gbk, kFen, 0},
        {"代扣个税"_gbk, kFen, 0}, {"实发工资"_gbk, kFen, 0},     {"计算规则"_gbk, kText, 8},
    };
    return fields;
}

bool readPayRows(const journal::JournalAccess& access, std::vector<PayRow>& rows,
                 StoreError& error) {
    rows.clear();
    if (!tableExists(access)) return true;
    OpenPayRecord record(access, true);
    std::vector<std::pair<std::int64_t, PayRow>> read;
    if (!record.isOpen() || !record.readAll(read)) {
        error = record.error();
        return false;
    }
    // The last row of each month: sorted stably by month, the last of a run.
    std::stable_sort(read.begin(), read.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second.year, a.second.month) < std::pair(b.second.year, b.second.month);
    });
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (i + 1 == read.size() || !sameMonth(read[i].second, read[i + 1].second)) {
            rows.push_back(read[i].second);
        }
    }
    return true;
}

std::vector<wages::PaidMonth> paidMonths(const std::vector<PayRow>& rows, int year) {
    std::vector<wages::PaidMonth> months;
    for (const PayRow& row : rows) {
        if (row.year == year) months.push_back({row.month, row.income, row.withheld});
    }
    return months;
}

std::array<std::optional<wages::Fen>, 12> netPayOfYear(const std::vector<PayRow>& rows, int year) {
    std::array<std::optional<wages::Fen>, 12> net;
    for (const PayRow& row : rows) {
        if (row.year == year && row.month >= 1 && row.month <= 12) {
            net[static_cast<std::size_t>(row.month) - 1] = row.net;
        }
    }
    return net;
}

bool writeMonth(const journal::JournalAccess& access, const PayRow& row, StoreError& error) {
    if (!tableExists(access) && !createTable(access, error)) return false;
    return change(
        access,
        [&](OpenPayRecord& record, const auto& rows) {
            return record.append(row) && record.removeAt(positionsOf(rows, row));
        },
        error);
}

bool deleteMonth(const journal::JournalAccess& access, int year, int month, StoreError& error) {
    if (!tableExists(access)) return true;
    PayRow wanted;
    wanted.year = year;
    wanted.month = month;
    return change(
        access,
        [&](OpenPayRecord& record, const auto& rows) {
            return record.removeAt(positionsOf(rows, wanted));
        },
        error);
}

bool copyPayRecord(const journal::JournalAccess& access, const std::string& gbkTablePath,
                   StoreError& error) {
    OpenPayRecord record(access, true);
    if (!record.isOpen() || !record.copyTo(gbkTablePath)) {
        error = record.error();
        return false;
    }
    return true;
}

}  // namespace qinghe::payrecord
