// The journal's cores on a real journal in a temporary folder: recording a
// day, the month's totals, the grid's rows, the export, the maintenance
// steps, and what an open refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "journal/journal_export.h"
#include "journal/journal_grid.h"
#include "journal/month_totals.h"
#include "journal_fixture.h"
#include "recordstore/errors.h"
#include "testing/undo_log_bytes.h"

namespace qinghe::journal::testing {
namespace {

const std::string kMonday = "星期一"_gbk;
const std::string kSunday = "星期日"_gbk;

TEST(DayRecord, FollowsTheKindTheHoursAndTheNightRules) {
    const DateTime monday = makeDate(2013, 5, 6);
    struct Case {
        const char* what;
        DayEntry entry;
        std::optional<JournalRecord> want;
    };
    const Case cases[] = {
        {"G2 keeps the night flag", entry(2013, 5, 6, "10", Field::G2, true),
         JournalRecord{.date = monday, .g2 = 10, .weekday = kMonday, .nightShift = 1}},
        {"sick leave drops it", entry(2013, 5, 6, "10", Field::SickLeave, true),
         JournalRecord{.date = monday, .sickLeave = 10, .weekday = kMonday}},
        {"absence", entry(2013, 5, 6, "2", Field::Absence, true),
         JournalRecord{.date = monday, .weekday = kMonday, .absence = 2}},
        {"早班 keeps it", entry(2013, 5, 6, "早班"_gbk, Field::G1, true),
         JournalRecord{.date = monday, .remark = "早班"_gbk, .weekday = kMonday, .nightShift = 1}},
        {"休息 drops it", entry(2013, 5, 6, "休息"_gbk, std::nullopt, true),
         JournalRecord{.date = monday, .remark = "休息"_gbk, .weekday = kMonday}},
        {"\"0\" is a remark", entry(2013, 5, 6, "0", Field::G1),
         JournalRecord{.date = monday, .remark = "0", .weekday = kMonday}},
        {"an empty box is an empty remark", entry(2013, 5, 6, "", Field::G1),
         JournalRecord{.date = monday, .weekday = kMonday}},
        {"8.0 is refused", entry(2013, 5, 6, "8.0", Field::G1), std::nullopt},
        {"7.9 is refused", entry(2013, 5, 6, "7.9", Field::G1), std::nullopt},
        {"a remark of 20 bytes", entry(2013, 5, 6, "一二三四五六七八九十"_gbk),
         JournalRecord{.date = monday, .remark = "一二三四五六七八九十"_gbk, .weekday = kMonday}},
        {"full-width digits", entry(2013, 5, 6, "８"_gbk, Field::G3),
         JournalRecord{.date = monday, .g3 = 8, .weekday = kMonday}},
        {"negative hours as typed", entry(2013, 5, 6, "-3", Field::PersonalLeave),
         JournalRecord{.date = monday, .personalLeave = -3, .weekday = kMonday}},
        {"a Sunday", entry(2013, 5, 5, "休息"_gbk),
         JournalRecord{.date = monday - 1, .remark = "休息"_gbk, .weekday = kSunday}},
        {"the time of day dropped",
         {makeDateTime(2013, 5, 6, 15, 30, 0), "8", Field::G1, false},
         JournalRecord{.date = monday, .g1 = 8, .weekday = kMonday}},
        {"hours without a kind", entry(2013, 5, 6, "8"), std::nullopt},
        {"hours with a field that is no kind", entry(2013, 5, 6, "8", Field::Remark), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(dayRecord(c.entry), c.want) << c.what;
}

// A text that would be changed to fit the journal is refused whole, before
// the journal is read.
TEST(DayRecord, RefusesTextsItCouldOnlyStoreChanged) {
    const struct {
        std::string text;
        std::optional<RecordOutcome> want;
    } cases[] = {
        {"2.5", RecordOutcome::NotWholeHours},
        {"0.5", RecordOutcome::NotWholeHours},
        {"-0.5", RecordOutcome::NotWholeHours},
        {"１．５"_gbk, RecordOutcome::NotWholeHours},
        {".5", RecordOutcome::NotWholeHours},
        {"8.", RecordOutcome::NotWholeHours},
        {"1e1", RecordOutcome::NotWholeHours},
        {"1E+1小时"_gbk, RecordOutcome::NotWholeHours},
        {"1e999", RecordOutcome::NotWholeHours},
        {"25", RecordOutcome::NotWholeHours},
        {"-25", RecordOutcome::NotWholeHours},
        {"2147483648", RecordOutcome::NotWholeHours},
        {"99999999999999999999", RecordOutcome::NotWholeHours},
        {"24", std::nullopt},
        {"-24", std::nullopt},
        {" ＋２４"_gbk, std::nullopt},
        {"8小时"_gbk, std::nullopt},
        {"1e", std::nullopt},  // 1 hour and the letter e
        {"-", std::nullopt},   // no number: a remark
        {"一二三四五六七八九十"_gbk, std::nullopt},
        {"一二三四五六七八九十a"_gbk, RecordOutcome::RemarkTooLong},
        {"a一二三四五六七八九十"_gbk, RecordOutcome::RemarkTooLong},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textRefusal(entry(2013, 5, 6, c.text, Field::G1)), c.want) << c.text;
    }
    EXPECT_EQ(gbk::toUtf8(refusalText(RecordOutcome::NotWholeHours, "2.5")),
              "“2.5”不是整数时数（时数是 -24 到 24 的整数），没有记录。");
    EXPECT_EQ(gbk::toUtf8(refusalText(RecordOutcome::RemarkTooLong, "a"_gbk)),
              "备注“a”超过 20 个字节（10 个汉字），没有记录。");
}

class RecordingTest : public JournalTest {};

TEST_F(RecordingTest, ADateIsRecordedOnceWhateverTheTimeOfDayOrKind) {
    record(entry(2013, 5, 6, "8", Field::G1));
    StoreError error;
    EXPECT_EQ(
        appendDay(access_, {makeDateTime(2013, 5, 6, 18, 0, 0), "休息"_gbk, {}, false}, error),
        RecordOutcome::AlreadyRecorded);
    EXPECT_EQ(appendDay(access_, entry(2013, 5, 6, "8"), error), RecordOutcome::AlreadyRecorded);
    EXPECT_EQ(appendDay(access_, entry(2013, 5, 7, "8"), error), RecordOutcome::NoKind);
    EXPECT_EQ(appendDay(access_, entry(2013, 5, 7, "2.5", Field::G1), error),
              RecordOutcome::NotWholeHours);
    EXPECT_EQ(appendDay(access_, entry(2013, 5, 7, std::string(21, 'a')), error),
              RecordOutcome::RemarkTooLong);
    EXPECT_EQ(recordsOf(access_).size(), 1u);
}

TEST_F(RecordingTest, MonthTotalsCountTheYearAndTheMonth) {
    for (const DayEntry& e : {
             entry(2013, 5, 3, "2", Field::G1, true), entry(2013, 5, 20, "2", Field::G1),
             entry(2014, 5, 20, "3", Field::G1, true), entry(2014, 5, 21, "10", Field::G2, true),
             entry(2014, 5, 22, "4", Field::PersonalLeave),
             entry(2014, 5, 23, "8", Field::SickLeave), entry(2014, 5, 24, "3", Field::Absence),
             entry(2014, 5, 25, "休息"_gbk), entry(2014, 5, 26, "2", Field::G1, true),
             entry(2014, 6, 1, "8", Field::G3, true),
             entry(2013, 5, 31, "3", Field::G1),  // appended last, in another month
         }) {
        record(e);
    }
    struct Case {
        DateTime picked;
        std::vector<std::string> want;  // allowance, G1, G2, G3, 事假, 旷工, 病假
    };
    const std::string label = "当前加班统计到：2013年5月31日"_gbk;
    const Case cases[] = {
        {makeDate(2014, 5, 15), {"13.5", "5", "10", "0", "4", "3", "8"}},
        {makeDate(2013, 5, 1), {"4.5", "7", "0", "0", "0", "0", "0"}},
        {makeDate(2014, 6, 30), {"4.5", "0", "0", "8", "0", "0", "0"}},
        {makeDate(2015, 5, 1), {"0", "0", "0", "0", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        MonthTotals totals;
        StoreError error;
        ASSERT_TRUE(totalMonth(access_, c.picked, totals, error)) << error.code;
        const MonthTotalsText t = monthTotalsText(totals);
        EXPECT_EQ((std::vector<std::string>{t.nightShiftAllowance, t.g1, t.g2, t.g3,
                                            t.personalLeave, t.absence, t.sickLeave}),
                  c.want)
            << dateTimeToText(c.picked);
        EXPECT_EQ(t.lastDate, label);
    }
    EXPECT_EQ(pickedMonthText(makeDate(2014, 5, 15)), "5");
}

TEST_F(RecordingTest, AnEmptyJournalTotalsToNothing) {
    MonthTotals totals;
    StoreError error;
    ASSERT_TRUE(totalMonth(access_, makeDate(2014, 5, 15), totals, error));
    const MonthTotalsText t = monthTotalsText(totals);
    EXPECT_EQ(t.nightShiftAllowance, "0");
    EXPECT_EQ(t.g1, "0");
    EXPECT_EQ(t.lastDate, "当前未加班或未记录加班！！！"_gbk);
}

TEST_F(RecordingTest, GridRowsShowTextsAndHighlightOnlyHoursAndRemarks) {
    record(entry(2013, 5, 6, "8", Field::SickLeave));
    record(entry(2013, 5, 5, "休息"_gbk));
    record(entry(2013, 5, 7, "4", Field::Absence, true));
    record(entry(2013, 5, 8, "早班"_gbk, std::nullopt, true));
    record(entry(2013, 5, 9, "-3", Field::G1));
    JournalRows rows;
    StoreError error;
    ASSERT_TRUE(readJournalRows(access_, rows, error));
    struct Want {
        std::vector<std::string> cells;
        std::uint16_t lit;
    };
    const Want want[] = {
        {{"2013年5月6日"_gbk, "0", "0", "0", "0", "8", "", kMonday, "0", "0"}, 1u << 5},
        {{"2013年5月5日"_gbk, "0", "0", "0", "0", "0", "休息"_gbk, kSunday, "0", "0"}, 1u << 6},
        {{"2013年5月7日"_gbk, "0", "0", "0", "0", "0", "", "星期二"_gbk, "0", "4"}, 0},
        {{"2013年5月8日"_gbk, "0", "0", "0", "0", "0", "早班"_gbk, "星期三"_gbk, "1", "0"},
         1u << 6},
        {{"2013年5月9日"_gbk, "-3", "0", "0", "0", "0", "", "星期四"_gbk, "0", "0"}, 0},
    };
    ASSERT_EQ(rows.size(), std::size(want));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < kGridColumnCount; ++c) cells.push_back(gridCellText(rows, r, c));
        EXPECT_EQ(cells, want[r].cells) << r;
        EXPECT_EQ(gridHighlights(rows, r), want[r].lit) << r;
    }
    std::vector<std::string> headers;
    for (const GridColumn& c : gridColumns()) headers.push_back(gbk::toUtf8(c.header));
    EXPECT_EQ(headers, (std::vector<std::string>{"日期", "G1时数", "G2时数", "G3时数", "事假时数",
                                                 "病假时数", "备注", "星期", "夜班", "旷工时数"}));
}

TEST_F(RecordingTest, ExportIsUtf8CsvWithQuotedFields) {
    record(entry(2013, 5, 6, "8", Field::G1, true));
    record(entry(2013, 5, 5, "a,\"b\""));
    record(entry(2013, 5, 4, "c\rd"));
    record(entry(2013, 5, 3, "e\nf"));
    JournalRows rows;
    StoreError error;
    ASSERT_TRUE(readJournalRows(access_, rows, error));
    EXPECT_EQ(journalCsv(rows),
              "\xEF\xBB\xBF日期,G1,G2,G3,事假,病假,备注,星期,夜班,旷工\r\n"
              "2013-05-06,8,0,0,0,0,,星期一,1,0\r\n"
              "2013-05-05,0,0,0,0,0,\"a,\"\"b\"\"\",星期日,0,0\r\n"
              "2013-05-04,0,0,0,0,0,\"c\rd\",星期六,0,0\r\n"
              "2013-05-03,0,0,0,0,0,\"e\nf\",星期五,0,0\r\n");
}

TEST_F(RecordingTest, DeletingTakesOnlyTheConfirmedLastRecord) {
    // What another process does while the question is open.
    const std::pair<const char*, std::function<void()>> meanwhile[] = {
        {"appends a day", [&] { record(entry(2013, 5, 7, "8", Field::G1)); }},
        {"replaces the last day (the same count, another date)",
         [&] {
             LastRecord sixth;
             StoreError error;
             ASSERT_TRUE(readLastRecord(access_, sixth, error));
             ASSERT_EQ(removeLastRecord(access_, sixth, error), DeleteOutcome::Deleted);
             record(entry(2013, 5, 7, "8", Field::G1));
         }},
    };
    std::vector<JournalRecord> changed;
    for (const auto& [what, change] : meanwhile) {
        SCOPED_TRACE(what);
        StoreError error;
        ASSERT_TRUE(removeAllRecords(access_, error));
        record(entry(2013, 5, 5, "休息"_gbk));
        record(entry(2013, 5, 6, "8", Field::G1));
        LastRecord last;
        ASSERT_TRUE(readLastRecord(access_, last, error));
        EXPECT_EQ(gbk::toUtf8(deleteQuestion(last.date)), "确认要删除2013年5月6日的加班记录！");
        change();
        changed = recordsOf(access_);
        EXPECT_EQ(removeLastRecord(access_, last, error), DeleteOutcome::Changed);
        EXPECT_EQ(recordsOf(access_), changed) << "nothing deleted";
    }
    // Asked again, the last record goes and only it.
    LastRecord last;
    StoreError error;
    ASSERT_TRUE(readLastRecord(access_, last, error));
    EXPECT_EQ(removeLastRecord(access_, last, error), DeleteOutcome::Deleted);
    changed.pop_back();
    EXPECT_EQ(recordsOf(access_), changed);
}

TEST_F(RecordingTest, AnEmptyJournalDeletesNothing) {
    LastRecord last;
    StoreError error;
    ASSERT_TRUE(readLastRecord(access_, last, error));
    EXPECT_EQ(gbk::toUtf8(deleteQuestion(last.date)), "确认要删除1899年12月30日的加班记录！");
    EXPECT_EQ(removeLastRecord(access_, last, error), DeleteOutcome::Empty);
}

TEST_F(RecordingTest, SortingPutsTheDaysInOrderUnderTheSamePassword) {
    for (int day : {5, 3, 4}) record(entry(2013, 5, day, "8", Field::G1));
    StoreError error;
    ASSERT_TRUE(sortByDate(access_, error)) << error.code;
    std::vector<DateTime> dates;
    for (const JournalRecord& r : recordsOf(access_)) dates.push_back(r.date);
    EXPECT_EQ(dates, (std::vector<DateTime>{makeDate(2013, 5, 3), makeDate(2013, 5, 4),
                                            makeDate(2013, 5, 5)}));
    EXPECT_EQ(folder_.names(), std::vector<std::string>{"加班.EDB"});
}

TEST_F(RecordingTest, ClearingNeedsTheRightPassword) {
    record(entry(2013, 5, 6, "8", Field::G1));
    JournalAccess typed = access_;
    typed.password = "wrong";
    StoreError error;
    EXPECT_FALSE(removeAllRecords(typed, error));
    EXPECT_EQ(error.code, recordstore::error::kWrongPassword);
    EXPECT_EQ(recordsOf(access_).size(), 1u);
    EXPECT_TRUE(removeAllRecords(access_, error));
    EXPECT_TRUE(recordsOf(access_).empty());
}

TEST_F(RecordingTest, CreatingRefusesAnExistingJournal) {
    record(entry(2013, 5, 6, "8", Field::G1));
    StoreError error;
    EXPECT_FALSE(createJournal(access_, error));
    EXPECT_EQ(gbk::toUtf8(error.message), "创建数据库失败：数据库已经存在");
    EXPECT_EQ(recordsOf(access_).size(), 1u);
}

// The record store's open for reading only leaves an interrupted operation's
// undo log alone; the journal's readers still see the journal it restores.
TEST_F(RecordingTest, ReadersFinishWhatAnInterruptedOperationLeft) {
    record(entry(2013, 5, 6, "8", Field::G1));
    const auto before = recordsOf(access_);
    const std::filesystem::path file = folder_.path() / "加班.EDB";
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    record(entry(2013, 5, 7, "8", Field::G1));
    using recordstore::testing::UndoLogBytes;
    const auto log = UndoLogBytes()
                         .savedLength(UndoLogBytes::Main, static_cast<std::int64_t>(bytes.size()))
                         .savedBytes(UndoLogBytes::Main, 0, bytes)
                         .bytes();
    std::ofstream(folder_.path() / "加班.EDJ", std::ios::binary)
        .write(reinterpret_cast<const char*>(log.data()), static_cast<std::streamsize>(log.size()));
    EXPECT_EQ(recordsOf(access_), before);
    EXPECT_EQ(folder_.names(), std::vector<std::string>{"加班.EDB"});
}

// Whatever lies in the folder, an open fails with the record store's code
// and the journal's operations never reach its fatal error.
TEST(OpenJournal, RefusesWhatIsNotTheJournal) {
    std::vector<recordstore::FatalError> fatal;
    auto previous = recordstore::setFatalErrorHandler(
        [&](const recordstore::FatalError& e) { fatal.push_back(e); });
    struct Case {
        const char* what;
        std::vector<recordstore::FieldSpec> fields;  // empty: no file at all
        std::string password;
        int code;
        std::string message;  // UTF-8; empty: the code's own
        std::string folder;   // the journal's folder in the temporary one; empty: itself
    };
    auto without = [](Field f) {
        auto fields = journalFields();
        fields.erase(fields.begin() + (static_cast<int>(f) - 1));
        return fields;
    };
    auto retyped = journalFields();
    retyped[1].type = static_cast<int>(recordstore::format::FieldType::Double);
    auto longer = journalFields();
    longer.push_back({"附注"_gbk, 10, 20});
    const Case cases[] = {
        {"no journal", {}, "", recordstore::error::kFileNotFound, "", ""},
        {"wrong password", journalFields(), "pw", recordstore::error::kWrongPassword, "", ""},
        {"a field missing", without(Field::Weekday), "", recordstore::error::kNoSuchField, "", ""},
        {"a field of another type", retyped, "", -70, "", ""},
        {"a field too many", longer, "", -70, "加班记录的字段与本程序不符", ""},
        // (the record store would take it for a separator: "<temp>/\/加班"
        // would be the temporary folder's 加班)
        {"a folder named \\", {}, "", recordstore::error::kBadPath, "", "\\"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        recordstore::Registry store;
        if (!c.fields.empty()) {
            ASSERT_TRUE(store.createTable(
                tablePathIn(platform::posixFileSystem(), folder.path(), kTableName), c.fields));
        }
        const std::filesystem::path directory = folder.path() / c.folder;
        std::filesystem::create_directories(directory);
        JournalAccess access{store, platform::posixFileSystem(), directory, c.password};
        StoreError error;
        if (!c.folder.empty()) {
            EXPECT_FALSE(createJournal(access, error));
            EXPECT_EQ(folder.names(), std::vector<std::string>{c.folder});
        }
        EXPECT_EQ(appendDay(access, entry(2013, 5, 6, "8", Field::G1), error),
                  RecordOutcome::Failed)
            << c.what;
        EXPECT_EQ(error.code, c.code) << c.what;
        EXPECT_TRUE(error.opening) << c.what;
        EXPECT_EQ(error.message, c.message.empty() ? recordstore::errorMessage(c.code)
                                                   : gbk::fromUtf8(c.message).text)
            << c.what;
        MonthTotals totals;
        EXPECT_FALSE(totalMonth(access, makeDate(2013, 5, 6), totals, error)) << c.what;
    }
    EXPECT_TRUE(fatal.empty());
    recordstore::setFatalErrorHandler(previous);
}

}  // namespace
}  // namespace qinghe::journal::testing
