#include "payrecord/pay_record.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "journal/journal_fixture.h"
#include "recordstore/errors.h"

namespace qinghe::payrecord {

bool operator==(const PayRow& a, const PayRow& b) {
    const auto fields = [](const PayRow& r) {
        return std::tuple(r.year, r.month, r.income.gross, r.income.special,
                          r.income.specialAdditional, r.income.other, r.withheld, r.net, r.rules);
    };
    return fields(a) == fields(b);
}

namespace {

using journal::StoreError;
using journal::testing::TempFolder;
namespace rs = qinghe::recordstore;

PayRow row(int year, int month, wages::Fen gross, wages::Fen withheld = 0) {
    return {year,
            month,
            {gross, gross / 10, 2000'00, 100'00},
            withheld,
            gross - withheld,
            wages::Rules::Current};
}

class PayRecordTest : public ::testing::TestWithParam<const char*> {
  protected:
    std::vector<PayRow> rows() {
        std::vector<PayRow> read;
        StoreError error;
        EXPECT_TRUE(readPayRows(access_, read, error)) << error.code;
        return read;
    }
    void write(const PayRow& r) {
        StoreError error;
        ASSERT_TRUE(writeMonth(access_, r, error)) << error.code;
    }
    // Records in the file, those marked deleted included.
    int recordsInFile() {
        const std::string table = journal::tablePathIn(access_.fs, folder_.path(), kTableName);
        EXPECT_TRUE(store_.openTable(table, {}, true, 1, access_.password));
        const int n = store_.recordCount();
        store_.closeTable();
        return n;
    }
    std::string magic() {
        std::ifstream file(folder_.path() / "工资记录.EDB", std::ios::binary);
        std::string bytes(4, '\0');
        file.read(bytes.data(), 4);
        return bytes;
    }

    TempFolder folder_;
    rs::Registry store_;
    journal::JournalAccess access_{store_, platform::posixFileSystem(), folder_.path(), GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Passwords, PayRecordTest, ::testing::Values("", "pw"));

// Steps on one folder, each followed by the rows then read back (by year and
// month, one a month) and the records left in the file (none stays behind).
TEST_P(PayRecordTest, WritesReplacesAndDeletesMonths) {
    enum class Op { Write, Delete };
    struct Step {
        Op op;
        PayRow row;
        std::vector<PayRow> want;
    };
    const PayRow jan = row(2025, 1, 30000'00, 555'00);
    const PayRow feb = row(2025, 2, 30000'00, 625'00);
    const PayRow mar = row(2025, 3, 30000'00, 1850'00);
    const PayRow janAgain = row(2025, 1, 31234'56, 591'04);
    const PayRow dec = row(2024, 12, 8000'00, 45'00);
    const Step steps[] = {
        {Op::Delete, jan, {}},  // nothing to delete, no table made
        {Op::Write, mar, {mar}},
        {Op::Write, jan, {jan, mar}},
        {Op::Write, dec, {dec, jan, mar}},
        {Op::Write, feb, {dec, jan, feb, mar}},
        {Op::Write, janAgain, {dec, janAgain, feb, mar}},
        {Op::Delete, feb, {dec, janAgain, mar}},
        {Op::Delete, feb, {dec, janAgain, mar}},
        {Op::Delete, dec, {janAgain, mar}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << (step.op == Op::Write ? "write " : "delete ")
                                        << step.row.year << '-' << step.row.month);
        StoreError error;
        if (step.op == Op::Write) {
            ASSERT_TRUE(writeMonth(access_, step.row, error)) << error.code;
        } else {
            ASSERT_TRUE(deleteMonth(access_, step.row.year, step.row.month, error));
        }
        EXPECT_EQ(rows(), step.want);
        if (!step.want.empty()) {
            EXPECT_EQ(recordsInFile(), static_cast<int>(step.want.size()));
        }
    }
    const std::vector<wages::PaidMonth> months = paidMonths(rows(), 2025);
    ASSERT_EQ(months.size(), 2U);
    EXPECT_EQ(months[0].month, 1);
    EXPECT_EQ(months[0].income.gross, janAgain.income.gross);
    EXPECT_EQ(months[0].withheld, janAgain.withheld);
    EXPECT_EQ(months[1].month, 3);
}

// The table is made with the folder's password (enciphered exactly when
// there is one) and opens with no other.
TEST_P(PayRecordTest, KeepsTheFoldersPassword) {
    std::vector<PayRow> read;
    StoreError error;
    EXPECT_TRUE(readPayRows(access_, read, error));
    EXPECT_TRUE(read.empty());
    EXPECT_TRUE(folder_.names().empty());

    write(row(2025, 6, 12000'00));
    EXPECT_EQ(magic(), access_.password.empty() ? "WEDB" : "WCDB");
    journal::JournalAccess other = access_;
    other.password = access_.password.empty() ? "pw" : "wrong";
    EXPECT_FALSE(readPayRows(other, read, error));
    EXPECT_EQ(error.code, rs::error::kWrongPassword);
    EXPECT_TRUE(error.opening);
    EXPECT_FALSE(writeMonth(other, row(2025, 7, 1'00), error));
    EXPECT_EQ(rows(), std::vector<PayRow>{row(2025, 6, 12000'00)});
}

// What a write stopped after the new row's append leaves -- the old row and
// the new one, maybe one of them marked deleted -- reads as the new row, and
// the next write of the month leaves one record.
TEST_P(PayRecordTest, ReadsTheLastRowOfAMonthAfterAnInterruptedWrite) {
    const PayRow old = row(2025, 4, 9000'00, 30'00);
    const PayRow now = row(2025, 4, 9500'00, 45'00);
    write(old);
    const std::string table = journal::tablePathIn(access_.fs, folder_.path(), kTableName);
    ASSERT_TRUE(store_.openTable(table, {}, false, 1, access_.password));
    const auto values = [](const PayRow& r) {
        return std::vector<std::optional<rs::Value>>{
            std::int32_t{r.year},       std::int32_t{r.month}, r.income.gross, r.income.special,
            r.income.specialAdditional, r.income.other,        r.withheld,     r.net,
            wages::rulesName(r.rules)};
    };
    ASSERT_TRUE(store_.appendRecord(values(now)));
    ASSERT_TRUE(store_.appendRecord(values(old)));
    ASSERT_TRUE(store_.deleteCurrent());  // a row marked deleted counts for nothing
    store_.closeTable();
    EXPECT_EQ(rows(), std::vector<PayRow>{now});

    write(old);
    EXPECT_EQ(rows(), std::vector<PayRow>{old});
    EXPECT_EQ(recordsInFile(), 1);
}

TEST(PayRecordFieldsTest, RefusesATableOfOtherFields) {
    TempFolder folder;
    rs::Registry store;
    const journal::JournalAccess access{store, platform::posixFileSystem(), folder.path(), ""};
    const std::string table = journal::tablePathIn(access.fs, folder.path(), kTableName);
    std::vector<rs::FieldSpec> fields = payRecordFields();
    struct Case {
        const char* what;
        std::vector<rs::FieldSpec> fields;
        int code;
    };
    std::vector<rs::FieldSpec> missing(fields.begin(), fields.end() - 1);
    std::vector<rs::FieldSpec> retyped = fields;
    retyped[2].type = static_cast<int>(rs::format::FieldType::Double);
    std::vector<rs::FieldSpec> extra = fields;
    extra.push_back({"X", 3, 0});
    for (const Case& c : {Case{"missing", missing, rs::error::kNoSuchField},
                          Case{"retyped", retyped, -70}, Case{"extra", extra, -70}}) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(store.createTable(table, c.fields));
        std::vector<PayRow> rows;
        StoreError error;
        EXPECT_FALSE(readPayRows(access, rows, error));
        EXPECT_EQ(error.code, c.code);
        EXPECT_FALSE(writeMonth(access, row(2025, 1, 1'00), error));
        EXPECT_EQ(error.code, c.code);
    }
}

}  // namespace
}  // namespace qinghe::payrecord
