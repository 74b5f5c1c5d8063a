// The pay record (工资记录): the months in which a person was paid, one row a
// month, as the tax withheld by the cumulative method needs them
// (wages/withholding.h). A table of the record store in the data folder
// beside the journal, reached the way the journal is (journal::JournalAccess:
// the same folder, record store and password); it is made, with that
// password, when its first row is written, so a folder without it simply has
// no paid months. This header is the table's one definition.
//
// Fields, in record order (numbers from 1); money in whole fen:
//
//   no. name          type (code)   meaning
//    1  年            int (3)       the year
//    2  月            int (3)       the month, 1..12
//    3  应发工资      int64 (4)     gross pay
//    4  专项扣除      int64 (4)     social insurance + housing fund withheld
//    5  专项附加扣除  int64 (4)     the month's special additional deductions
//    6  其他扣除      int64 (4)     other deductions allowed before tax
//    7  代扣个税      int64 (4)     the tax withheld
//    8  实发工资      int64 (4)     net pay
//    9  计算规则      text (10), 8  the rules that computed the row (wages/rules.h)
//
// One row a month. Writing a month appends its new row first and only then
// marks the month's older rows deleted and packs the table: a crash at any
// moment leaves the old row or the new one, never neither. So every reader
// takes, of the rows of one month, the last in file order that is not marked
// deleted; a row whose month is not 1..12 is read as it is and counts for no
// month's tax.
//
// Failures carry the record store's code and message (journal::StoreError).
// A table without one of the nine fields fails with -61 ("指定字段不存在"),
// one with a field of another type or with more fields with -70
// ("字段类型错误"); a wrong password with -78.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_access.h"
#include "recordstore/schema.h"
#include "wages/rules.h"
#include "wages/withholding.h"

namespace qinghe::payrecord {

// "工资记录" (GBK): the table's name, to which the record store adds ".EDB".
inline constexpr std::string_view kTableName = "\xB9\xA4\xD7\xCA\xBC\xC7\xC2\xBC";

// The nine fields as createTable takes them, in record order (names GBK).
const std::vector<recordstore::FieldSpec>& payRecordFields();

// A month's row.
struct PayRow {
    int year = 0;
    int month = 0;
    wages::MonthIncome income;  // gross and the three deductions
    wages::Fen withheld = 0;
    wages::Fen net = 0;
    wages::Rules rules = wages::Rules::Current;
};

// Every month's row, by year and then month. True with no rows when the
// folder has no pay record.
bool readPayRows(const journal::JournalAccess& access, std::vector<PayRow>& rows,
                 journal::StoreError& error);

// The rows of `year` among `rows`, as the withholding takes them.
std::vector<wages::PaidMonth> paidMonths(const std::vector<PayRow>& rows, int year);

// The net pay of each month of `year` among `rows`, January first; nullopt
// for a month without a row.
std::array<std::optional<wages::Fen>, 12> netPayOfYear(const std::vector<PayRow>& rows, int year);

// Writes the month of `row` (year, month), replacing its row if it has one;
// makes the table first when the folder has none.
bool writeMonth(const journal::JournalAccess& access, const PayRow& row,
                journal::StoreError& error);

// Deletes the row of `month` of `year`; true when there was none.
bool deleteMonth(const journal::JournalAccess& access, int year, int month,
                 journal::StoreError& error);

// Copies the pay record in file order into the table at `gbkTablePath` (a
// record-store path), replacing an older one: the record store's copy, with
// the same fields and password.
bool copyPayRecord(const journal::JournalAccess& access, const std::string& gbkTablePath,
                   journal::StoreError& error);

}  // namespace qinghe::payrecord
