// Failures of the file system, injected through the engine's one seam: a
// failed write is reported with its code and leaves the table as it was, and
// a failed read leaves nothing half read behind.
#include <gtest/gtest.h>

#include "recordstore/read_ahead.h"
#include "support.h"
#include "testing/fault_file_system.h"

namespace qinghe::recordstore {
namespace {

using namespace testing;
using platform::testing::Fault;
using platform::testing::FaultFileSystem;

class Faults : public ::testing::Test {
  protected:
    TempDir dir;
    FixedClock clock;
    FaultFileSystem fs;
    Registry store{fs, clock};

    void SetUp() override {
        std::vector<FieldSpec> fields{{"n", 3, 0}, {"m", 12, 0}};
        ASSERT_TRUE(store.createTable(dir.file("t"), fields));
        ASSERT_TRUE(store.openTable(dir.file("t")));
        ASSERT_TRUE(store.appendRecord({Value{std::int32_t{1}}, Value{std::string(900, 'a')}}));
    }

    // After failed appends, the next one takes the number 2 and neither its
    // value nor the first record's shares blocks with anything.
    void expectTheNextAppendIsNumberTwo() {
        ASSERT_TRUE(store.appendRecord({Value{std::int32_t{3}}, Value{std::string(600, 'c')}}));
        EXPECT_EQ(store.recordNumber(), 2);
        EXPECT_EQ(store.readField(2), Value{std::string(600, 'c')});
        store.skip(-1);
        EXPECT_EQ(store.readField(2), Value{std::string(900, 'a')});
    }
};

TEST_F(Faults, AFullDiskDuringAnAppendLosesNothing) {
    Bytes main = readBytes(dir.file("t.EDB"));
    // The writes of the append: two aux blocks, aux header, the record.
    for (int write = 1; write <= 4; ++write) {
        fs.arm(Fault::ShortWrite, write);
        EXPECT_FALSE(store.appendRecord({Value{std::int32_t{2}}, Value{std::string(600, 'b')}}));
        EXPECT_EQ(lastError(), -14) << write;
        fs.disarm();
        EXPECT_EQ(store.recordCount(), 1) << write;
        EXPECT_EQ(i32At(readBytes(dir.file("t.EDB")), 20), 2) << write;
    }
    expectTheNextAppendIsNumberTwo();
    EXPECT_EQ(i32At(readBytes(dir.file("t.EDB")), 16), 2);
    EXPECT_EQ(readBytes(dir.file("t.EDB")).size(), main.size() + 12u);
}

TEST_F(Faults, AHalfWrittenCountIsPutBackSoNoNumberIsUsedTwice) {
    // The fifth write of the append stores the count and next number
    // together, of which only the count gets through.
    fs.arm(Fault::ShortWrite, 5);
    EXPECT_FALSE(store.appendRecord({Value{std::int32_t{2}}, Value{std::string(600, 'b')}}));
    EXPECT_EQ(lastError(), -14);
    fs.disarm();
    Bytes main = readBytes(dir.file("t.EDB"));
    EXPECT_EQ(i32At(main, 16), 1);
    EXPECT_EQ(i32At(main, 20), 2);
    EXPECT_EQ(store.recordCount(), 1);
    expectTheNextAppendIsNumberTwo();
}

TEST_F(Faults, AnInputOutputErrorHasItsOwnCode) {
    fs.arm(Fault::Eio, 1);
    EXPECT_FALSE(store.deleteCurrent());
    EXPECT_EQ(lastError(), -11);
    fs.disarm();
    EXPECT_EQ(store.recordNumber(), 1);
}

TEST_F(Faults, AFailedCreateKeepsTheOldTable) {
    store.closeTable();
    Bytes before = readBytes(dir.file("t.EDB"));
    // Creating the new file beside the old one, emptying it, then its bytes.
    fs.arm(Fault::ShortWrite, 3);
    std::vector<FieldSpec> fields{{"x", 6, 0}};
    EXPECT_FALSE(store.createTable(dir.file("t"), fields));
    EXPECT_EQ(lastError(), -11) << "the disk's own reason, not -2 alone";
    fs.disarm();
    EXPECT_EQ(readBytes(dir.file("t.EDB")), before);
    // Nothing is left beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

// A run of records read ahead that a failing read cuts short is dropped
// whole: no later read takes its bytes for those of the run before it.
TEST_F(Faults, AReadAheadCutShortLeavesNothingStale) {
    std::vector<FieldSpec> fields{{"n", 3, 0}};
    ASSERT_TRUE(store.createTable(dir.file("ints"), fields));
    ASSERT_TRUE(store.openTable(dir.file("ints")));
    const int records = static_cast<int>(kReadAheadBytes / 8) + 200;  // a run is 4096
    for (int i = 0; i < records; ++i) ASSERT_TRUE(store.appendRecord({Value{std::int32_t{i}}}));
    auto moveTo = [&](int position) {
        ASSERT_TRUE(store.skip(position - static_cast<int>(store.position())));
    };
    moveTo(100);
    EXPECT_EQ(store.readField(1), Value{std::int32_t{100}});  // a run of records 100 to 4195
    moveTo(records - 8);
    // The run of the last 8 records: the count is read, then half of the run,
    // then the rest of it fails.
    fs.arm(Fault::ReadError, 2);
    EXPECT_EQ(store.readField(1), Value{std::int32_t{0}});
    EXPECT_EQ(lastError(), -11);
    fs.disarm();
    moveTo(100);
    EXPECT_EQ(store.readField(1), Value{std::int32_t{100}});
}

// A pack that a failing read stops, at each of its reads in turn, leaves the
// table as it was or packed and the undo log gone, so that a record appended
// through the same open is still there when the table is opened again.
TEST(PackReadFaults, EveryReadFailedInTurnLeavesTheTableUsable) {
    TempDir dir;
    const std::string table = dir.file("t");
    {
        Registry store;
        std::vector<FieldSpec> fields{{"t", 10, 1020}};  // 160 records a batch
        ASSERT_TRUE(store.createTable(table, fields));
        ASSERT_TRUE(store.openTable(table));
        for (int i = 0; i < 400; ++i) ASSERT_TRUE(store.appendRecord({Value{std::to_string(i)}}));
        ASSERT_TRUE(store.skip(-399));
        ASSERT_TRUE(store.deleteCurrent());  // only the first: every later record moves
    }
    TempDir pristine;
    std::filesystem::copy_file(dir.file("t.EDB"), pristine.file("t.EDB"));
    auto texts = [](const std::string& path) {
        Registry store;
        std::vector<std::string> all;
        EXPECT_TRUE(store.openTable(path));
        for (int i = 0, n = store.recordCount(); i < n; ++i, store.skip()) {
            all.push_back(std::get<std::string>(store.readField(1)));
        }
        return all;
    };
    std::vector<std::string> packed;
    for (int i = 1; i < 400; ++i) packed.push_back(std::to_string(i));
    // Packs a fresh copy with the `n`-th read failing; gives what pack gave
    // and how many reads it made.
    auto packCopy = [&](std::int64_t n, std::int64_t& reads) {
        std::filesystem::copy_file(pristine.file("t.EDB"), table + ".EDB",
                                   std::filesystem::copy_options::overwrite_existing);
        FaultFileSystem fs;
        Registry store(fs);
        EXPECT_TRUE(store.openTable(table));
        fs.arm(Fault::ReadError, n);
        bool done = store.pack();
        reads = fs.calls();
        fs.disarm();
        EXPECT_FALSE(std::filesystem::exists(dir.file("t.EDJ")));
        EXPECT_TRUE(store.appendRecord({Value{std::string("after")}}));
        return done;
    };
    std::int64_t reads = 0;
    ASSERT_TRUE(packCopy(INT64_MAX, reads));
    for (std::int64_t n = 1; n <= reads; ++n) {
        SCOPED_TRACE("read " + std::to_string(n) + " of " + std::to_string(reads));
        std::int64_t ignored = 0;
        EXPECT_FALSE(packCopy(n, ignored));
        std::vector<std::string> rows = texts(table);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.back(), "after");
        rows.pop_back();
        if (rows != packed) {
            rows.erase(rows.begin());  // the record marked deleted, still there
            EXPECT_EQ(rows, packed);
        }
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(reads, 3);
}

}  // namespace
}  // namespace qinghe::recordstore
