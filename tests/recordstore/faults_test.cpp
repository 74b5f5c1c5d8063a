// Failures of the file system, injected through the engine's one seam: a
// failed write is reported with its code and leaves the table as it was.
#include <gtest/gtest.h>

#include <cerrno>

#include "support.h"

namespace qinghe::recordstore {
namespace {

using namespace testing;

// The machine's file system, except that write number `failAt` (counted from
// 1) fails with `error`, after writing the first half of its bytes when
// `partial` (as a full disk does to a write that extends a file).
class FailingFileSystem final : public ForwardingFileSystem {
  public:
    int failAt = 0;
    int error = -ENOSPC;
    int writes = 0;
    bool partial = false;

    std::int64_t write(int h, std::span<const std::uint8_t> d, std::int64_t o) override {
        if (++writes == failAt) {
            if (partial && d.size() > 1 && !partDone_) {  // first half, then the failure
                partDone_ = true;
                --writes;
                return inner_.write(h, d.first(d.size() / 2), o);
            }
            return error;
        }
        return inner_.write(h, d, o);
    }

    void failNextWrite(int error_, bool partial_) {
        failAt = writes + 1;
        error = error_;
        partial = partial_;
        partDone_ = false;
    }

  private:
    bool partDone_ = false;
};

class Faults : public ::testing::Test {
  protected:
    TempDir dir;
    FixedClock clock;
    FailingFileSystem fs;
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
    for (int write = 0; write < 4; ++write) {  // two aux blocks, aux header, the record
        fs.failNextWrite(-ENOSPC, true);
        fs.failAt += write;
        EXPECT_FALSE(store.appendRecord({Value{std::int32_t{2}}, Value{std::string(600, 'b')}}));
        EXPECT_EQ(lastError(), -14) << write;
        EXPECT_EQ(store.recordCount(), 1) << write;
        EXPECT_EQ(i32At(readBytes(dir.file("t.EDB")), 20), 2) << write;
    }
    fs.failAt = 0;
    expectTheNextAppendIsNumberTwo();
    EXPECT_EQ(i32At(readBytes(dir.file("t.EDB")), 16), 2);
    EXPECT_EQ(readBytes(dir.file("t.EDB")).size(), main.size() + 12u);
}

TEST_F(Faults, AHalfWrittenCountIsPutBackSoNoNumberIsUsedTwice) {
    // Writes of the append: two aux blocks, aux header, the record, then the
    // count and next number together, of which only the count gets through.
    fs.failNextWrite(-ENOSPC, true);
    fs.failAt += 4;
    EXPECT_FALSE(store.appendRecord({Value{std::int32_t{2}}, Value{std::string(600, 'b')}}));
    EXPECT_EQ(lastError(), -14);
    Bytes main = readBytes(dir.file("t.EDB"));
    EXPECT_EQ(i32At(main, 16), 1);
    EXPECT_EQ(i32At(main, 20), 2);
    EXPECT_EQ(store.recordCount(), 1);

    fs.failAt = 0;
    expectTheNextAppendIsNumberTwo();
}

TEST_F(Faults, AnInputOutputErrorHasItsOwnCode) {
    fs.failNextWrite(-EIO, false);
    EXPECT_FALSE(store.deleteCurrent());
    EXPECT_EQ(lastError(), -11);
    EXPECT_EQ(store.recordNumber(), 1);
}

TEST_F(Faults, AFailedCreateKeepsTheOldTable) {
    store.closeTable();
    Bytes before = readBytes(dir.file("t.EDB"));
    fs.failNextWrite(-ENOSPC, true);
    std::vector<FieldSpec> fields{{"x", 6, 0}};
    EXPECT_FALSE(store.createTable(dir.file("t"), fields));
    EXPECT_EQ(lastError(), -2);
    EXPECT_EQ(readBytes(dir.file("t.EDB")), before);
    // Nothing is left beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace qinghe::recordstore
