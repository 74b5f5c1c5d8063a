// What a failing disk leaves behind, and what the store reports: a memo
// append on a full disk, a pack whose freeing of values fails, a flush that
// fails at close; and how much a memo append reads.
#include <gtest/gtest.h>

#include "durability_scenarios.h"
#include "recordstore/check.h"

namespace qinghe::recordstore::testing {
namespace {

class FailingDisk : public ::testing::Test {
  protected:
    TempDir dir;
    std::string table = dir.file("t");
    std::vector<int> ids = {4, 8, 15, 16, 23, 42};
    FaultFileSystem faults;

    // The problems of table check other than blocks that an operation cut
    // short left unused.
    std::vector<std::string> damage() {
        std::vector<std::string> found;
        for (const auto& p : checkTable(posixFileSystem(), table, "").problems) {
            if (p.find("cut short") == std::string::npos) found.push_back(p);
        }
        return found;
    }
};

// A memo append that the full disk stops at any of its writes leaves the
// table as it was for a read-only open: the auxiliary header counts no
// block that is not in the file.
TEST_F(FailingDisk, FullDiskDuringAMemoAppendLeavesTheTableReadable) {
    for (std::int64_t n = 1;; ++n) {
        SCOPED_TRACE("disk full at call " + std::to_string(n));
        makeSampleTable(table, ids, true);
        auto before = rowsOf(table, "", true);
        Registry store(faults);
        ASSERT_TRUE(store.openTable(table));
        faults.arm(Fault::NoSpace, n);
        bool appended = appendSample(store, 30, true);  // a memo of three blocks
        store.closeTable();
        faults.disarm();
        if (appended) break;
        Registry reader;
        EXPECT_TRUE(reader.openTable(table, {}, true)) << lastError();
        reader.closeTable();
        EXPECT_EQ(rowsOf(table, "", true), before);
        EXPECT_EQ(damage(), std::vector<std::string>{});
        if (HasFailure()) return;
    }
}

// A pack that reports failure has changed nothing; one that removed the
// deleted records reports success, also when freeing their values failed
// (the blocks are then left unused, which table check reports).
TEST_F(FailingDisk, PackReportsWhatItDid) {
    const std::vector<int> deleted = {0, 2, 5};
    const auto before = rowsFor(ids, deleted);
    const auto after = withoutDeleted(before);
    for (std::int64_t n = 1;; ++n) {
        SCOPED_TRACE("EIO at call " + std::to_string(n));
        Scenario s{"", true, "", ids, deleted, true, nullptr, nullptr};
        setUpScenario(s, dir.path());
        Registry store(faults);
        ASSERT_TRUE(store.openTable(table));
        faults.arm(Fault::Eio, n);
        bool packed = store.pack();
        std::int64_t calls = faults.calls();
        faults.disarm();
        store.closeTable();
        auto rows = rowsOf(table, "", true);
        ASSERT_TRUE(rows);
        EXPECT_EQ(*rows, packed ? after : before) << (packed ? "packed" : "failed");
        if (calls < n) break;  // the fault came after the pack
        if (HasFailure()) return;
    }
}

// The same for a deleted record whose memo chain is broken: the records are
// removed and the pack succeeds; the chain's blocks are reported unused.
TEST_F(FailingDisk, PackOverABrokenChainRemovesTheRecords) {
    makeSampleTable(table, {1, 2, 3}, true);  // memos of 37 and 74 bytes: one block each
    {
        Registry store;
        ASSERT_TRUE(store.openTable(table));
        ASSERT_TRUE(store.deleteCurrent());
        store.closeTable();
    }
    Bytes aux = readBytes(dir.file("t.EDT"));
    format::storeI32(&aux[512 + format::kBlockNextOffset], 999);  // the first record's only block
    writeBytes(dir.file("t.EDT"), aux);
    Registry store;
    ASSERT_TRUE(store.openTable(table));
    EXPECT_TRUE(store.pack()) << lastError();
    store.closeTable();
    auto rows = rowsOf(table, "", true);
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, withoutDeleted(rowsFor({1, 2, 3}, {0})));
}

// A flush that fails when the table is closed is reported through the last
// error of closeTable: an append is durable only when its close says so.
TEST_F(FailingDisk, CloseReportsAFailedFlush) {
    makeSampleTable(table, ids, false);
    Registry store(faults);
    ASSERT_TRUE(store.openTable(table));
    ASSERT_TRUE(appendSample(store, 99, false));
    faults.arm(Fault::Eio, 1);  // the flush of the written file at close
    store.closeTable();
    EXPECT_EQ(faults.calls(), 1);
    EXPECT_EQ(lastError(), -11);
    faults.disarm();
}

// A memo append reads the head of the free list, not the whole list.
TEST_F(FailingDisk, MemoAppendReadsOnlyTheBlocksItTakes) {
    class CountingReads final : public ForwardingFileSystem {
      public:
        std::int64_t read(int handle, std::span<std::uint8_t> buffer,
                          std::int64_t offset) override {
            ++reads;
            return ForwardingFileSystem::read(handle, buffer, offset);
        }
        int reads = 0;
    };
    constexpr int kFreed = 1000;
    Registry store;
    std::vector<FieldSpec> fields{{"n", 3, 0}, {"m", 12, 0}};
    ASSERT_TRUE(store.createTable(table, fields));
    ASSERT_TRUE(store.openTable(table));
    for (int i = 0; i <= kFreed; ++i) {
        ASSERT_TRUE(store.appendRecord({Value{std::int32_t{i}}, Value{std::string(100, 'm')}}));
    }
    ASSERT_TRUE(store.skip(-kFreed));  // to the first record
    for (int i = 0; i < kFreed; ++i, store.skip()) ASSERT_TRUE(store.deleteCurrent());
    ASSERT_TRUE(store.pack());  // the last record keeps its block at the end
    store.closeTable();

    CountingReads counting;
    Registry counted(counting);
    ASSERT_TRUE(counted.openTable(table));
    int atOpen = counting.reads;
    ASSERT_TRUE(counted.appendRecord({Value{std::int32_t{-1}}, Value{std::string("short")}}));
    EXPECT_LE(counting.reads - atOpen, 8);
    EXPECT_EQ(counted.readField(2), Value{std::string("short")});
    counted.closeTable();
}

}  // namespace
}  // namespace qinghe::recordstore::testing
