// Small files with hostile headers (most of them sparse: a few kilobytes on
// disk that claim gigabytes): every operation refuses them or stops at what
// the file really holds, with a code, never an abort. How long each takes
// and how much memory is measured from the outside (see the stream notes);
// here the results are pinned.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>

#include "allocation_limit.h"
#include "recordstore/check.h"
#include "recordstore/format.h"
#include "support.h"

namespace qinghe::recordstore {
namespace {

using namespace testing;
using namespace format;
namespace fs = std::filesystem;

constexpr std::int64_t k2GiB = std::int64_t{1} << 31;

// The memory an operation on such a file may take: no single allocation
// beyond it (a vector grown to what a header claims would need one).
constexpr std::size_t kMemoryBound = std::size_t{64} << 20;

// Holds allocations to kMemoryBound while it lives.
struct MemoryBound {
    MemoryBound() { setAllocationLimit(kMemoryBound); }
    ~MemoryBound() { setAllocationLimit(0); }
};

class HostileFile : public ::testing::Test {
  public:
    TempDir dir;
    std::string table = dir.file("t");
    std::string mainPath = dir.file("t.EDB");
    std::string auxPath = dir.file("t.EDT");
    Registry store;

    void create(std::vector<FieldSpec> fields) { ASSERT_TRUE(store.createTable(table, fields)); }
    void append(std::initializer_list<std::optional<Value>> values,
                std::string_view password = {}) {
        ASSERT_TRUE(store.openTable(table, {}, false, 1, password));
        ASSERT_TRUE(store.appendRecord(values));
        store.closeTable();
    }
    // Changes the int32 at `offset` of a file in place.
    static void patch(const std::string& path, std::size_t offset, std::int32_t value) {
        Bytes bytes = readBytes(path);
        ASSERT_GE(bytes.size(), offset + 4);
        storeI32(&bytes[offset], value);
        writeBytes(path, bytes);
    }
    // The names of the directory's files.
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path())) names.insert(e.path().filename());
        return names;
    }
};

// Each case makes a table, then damages it; every open then fails with the
// code, for reading only and for writing alike.
struct RefusedCase {
    const char* name;
    std::function<void(HostileFile&)> make;
    int code;
};

class Refused : public HostileFile, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Refused, EveryOpenFailsWithTheCode) {
    GetParam().make(*this);
    if (HasFatalFailure()) return;
    for (bool readOnly : {true, false}) {
        MemoryBound bound;
        EXPECT_FALSE(store.openTable(table, {}, readOnly)) << (readOnly ? "read-only" : "writing");
        EXPECT_EQ(lastError(), GetParam().code) << (readOnly ? "read-only" : "writing");
        store.closeTable();
    }
}

const FieldSpec kInt{"n", 3, 0};
const FieldSpec kMemo{"m", 12, 0};

INSTANTIATE_TEST_SUITE_P(
    HostileFile, Refused,
    ::testing::Values(
        RefusedCase{"FieldCountOverASparseFile",
                    [](HostileFile& h) {
                        h.create({kInt});
                        HostileFile::patch(h.mainPath, kFieldCountOffset, INT32_MAX);
                        fs::resize_file(h.mainPath,
                                        static_cast<std::uintmax_t>(dataOffset(INT32_MAX) + 8));
                    },
                    -22},
        RefusedCase{"RecordLengthTheFieldsDoNotExplain",
                    [](HostileFile& h) {
                        h.create({kInt});
                        HostileFile::patch(h.mainPath, kRecordLengthOffset, INT32_MAX - 1);
                    },
                    -22},
        RefusedCase{"FieldPassingTheEndOfItsRecord",
                    [](HostileFile& h) {
                        h.create({kInt});
                        HostileFile::patch(h.mainPath, kRecordLengthOffset, 9);
                        HostileFile::patch(h.mainPath, kDescriptorsOffset + kFieldValueOffset, 6);
                    },
                    -22},
        RefusedCase{"TextFieldLargerThanAnyRecord",
                    [](HostileFile& h) {
                        h.create({{"s", 10, 8}});
                        HostileFile::patch(h.mainPath, kRecordLengthOffset, INT32_MAX - 1);
                        HostileFile::patch(h.mainPath, kDescriptorsOffset + kFieldTextSizeOffset,
                                           INT32_MAX - 5);
                    },
                    -22},
        RefusedCase{"MainFileBeyond2GiB",
                    [](HostileFile& h) {
                        h.create({kInt});
                        std::int64_t records = (k2GiB - dataOffset(1)) / 8 + 1;
                        HostileFile::patch(h.mainPath, kCountOffset,
                                           static_cast<std::int32_t>(records));
                        fs::resize_file(h.mainPath,
                                        static_cast<std::uintmax_t>(dataOffset(1) + records * 8));
                    },
                    -22},
        RefusedCase{"AuxiliaryFileBeyond2GiB",
                    [](HostileFile& h) {
                        h.create({kInt, kMemo});
                        HostileFile::patch(h.auxPath, kAuxBlockCountOffset,
                                           static_cast<std::int32_t>(k2GiB / 512 + 1));
                        fs::resize_file(h.auxPath, static_cast<std::uintmax_t>(k2GiB + 512));
                    },
                    -35},
        RefusedCase{"AuxiliaryBlockCountOf2To31Blocks",
                    [](HostileFile& h) {
                        h.create({kInt, kMemo});
                        HostileFile::patch(h.auxPath, kAuxBlockCountOffset, INT32_MAX);
                    },
                    -35}),
    [](const auto& p) { return std::string(p.param.name); });

// A table of a few real records followed by a sparse hole up to 1.5 GiB,
// its count claiming every 8-byte record of it: sort, copy and pack stop at
// the first record that is not one (number 0) with -62, leave no temporary
// file and change nothing; an append still goes to the end.
TEST_F(HostileFile, WholeTableWorkStopsAtTheHole) {
    create({kInt});
    ASSERT_TRUE(store.openTable(table));
    for (int i = 1; i <= 3; ++i) ASSERT_TRUE(store.appendRecord({Value{std::int32_t{i}}}));
    ASSERT_TRUE(store.goLast());
    ASSERT_TRUE(store.deleteCurrent());
    store.closeTable();
    const std::int64_t records = (3 * (std::int64_t{1} << 29) - dataOffset(1)) / 8;
    patch(mainPath, kCountOffset, static_cast<std::int32_t>(records));
    fs::resize_file(mainPath, static_cast<std::uintmax_t>(dataOffset(1) + records * 8));
    const auto before = files();

    MemoryBound bound;
    ASSERT_TRUE(store.openTable(table));
    const std::string key = "n";
    EXPECT_FALSE(store.sortInto(dir.file("sorted"), std::span(&key, 1)));
    EXPECT_EQ(lastError(), -62);
    EXPECT_FALSE(store.copyInto(dir.file("copied")));
    EXPECT_EQ(lastError(), -62);
    EXPECT_FALSE(store.pack());
    EXPECT_EQ(lastError(), -62);
    EXPECT_EQ(store.recordCount(), records);
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(store.appendRecord({Value{std::int32_t{7}}}));
    EXPECT_EQ(store.recordCount(), records + 1);
    EXPECT_EQ(std::get<std::int32_t>(store.readField(1)), 7);
    store.closeTable();
}

// A memo chain that runs in a circle through a sparse 2 GiB auxiliary file
// is found broken at once (the back links do not match), not after 2 GiB.
TEST_F(HostileFile, ChainInACircleIsBrokenAtOnce) {
    create({kInt, kMemo});
    append({Value{std::int32_t{1}}, Value{std::string(700, 'x')}});  // blocks 1 and 2
    patch(auxPath, 2 * kBlockSize + kBlockNextOffset, 1);            // 2 -> 1
    std::int32_t blocks = static_cast<std::int32_t>(k2GiB / 512) - 1;
    patch(auxPath, kAuxBlockCountOffset, blocks);
    fs::resize_file(auxPath, static_cast<std::uintmax_t>(blocks) * 512);
    MemoryBound bound;
    ASSERT_TRUE(store.openTable(table, {}, true));
    EXPECT_EQ(store.readField(2), Value{std::string()});
    EXPECT_EQ(lastError(), -59);
    store.closeTable();
    EXPECT_FALSE(checkTable(posixFileSystem(), table, {}).sound());
}

// table check of an auxiliary file that claims 2^31 - 1 blocks, and holds
// them as a sparse file of a terabyte, reports it without marking every
// block.
TEST_F(HostileFile, CheckOfAnAuxiliaryFileClaimingEveryBlock) {
    create({kInt, kMemo});
    append({Value{std::int32_t{1}}, Value{std::string("memo")}});
    patch(auxPath, kAuxBlockCountOffset, INT32_MAX);
    fs::resize_file(auxPath, std::uintmax_t{INT32_MAX} * 512);
    MemoryBound bound;
    CheckReport report = checkTable(posixFileSystem(), table, {});
    EXPECT_FALSE(report.sound());
    EXPECT_EQ(report.records, 1);
}

// The format's open takes a text field of any size that lies in its record;
// only createTable limits it to 1024 bytes.
TEST_F(HostileFile, TextFieldLargerThan1024InItsRecordOpens) {
    create({{"s", 10, 1000}});
    patch(mainPath, kRecordLengthOffset, 4 + 2000);
    patch(mainPath, kDescriptorsOffset + kFieldTextSizeOffset, 2000);
    ASSERT_TRUE(store.openTable(table)) << lastError();
    std::string text(1500, 'w');
    ASSERT_TRUE(store.appendRecord({Value{text}}));
    EXPECT_EQ(store.readField(1), Value{text});
    store.closeTable();
}

// Records longer than their fields need, a field at the record's end: the
// table opens, takes records of its own length and reads them back after a
// pack and a reopen.
TEST_F(HostileFile, RecordsLongerThanTheirFieldsOpen) {
    create({kInt});
    patch(mainPath, kRecordLengthOffset, 4 + 12);
    patch(mainPath, kDescriptorsOffset + kFieldValueOffset, 12);
    ASSERT_TRUE(store.openTable(table)) << lastError();
    for (std::int32_t n : {7, 8, 9}) ASSERT_TRUE(store.appendRecord({Value{n}}));
    store.closeTable();
    ASSERT_TRUE(store.openTable(table)) << lastError();  // at the first record
    ASSERT_TRUE(store.deleteCurrent() && store.pack()) << lastError();
    store.closeTable();
    EXPECT_EQ(fs::file_size(mainPath), static_cast<std::uintmax_t>(dataOffset(1) + 2 * 16));
    ASSERT_TRUE(store.openTable(table, {}, true)) << lastError();
    EXPECT_EQ(store.readField(1), Value{std::int32_t{8}});
    ASSERT_TRUE(store.skip());
    EXPECT_EQ(store.readField(1), Value{std::int32_t{9}});
    store.closeTable();
}

// A field whose name is blank ends a list of fields; a table file holding
// one is not copied or sorted into a table short of that field (found by
// the fuzz target: the copy's field list was read past its end).
TEST_F(HostileFile, BlankFieldNameIsNotCopied) {
    create({kInt, {"m", 3, 0}});
    append({Value{std::int32_t{1}}, Value{std::int32_t{2}}});
    Bytes bytes = readBytes(mainPath);
    bytes[kDescriptorsOffset + kDescriptorSize + kFieldNameOffset] = 0;
    writeBytes(mainPath, bytes);
    ASSERT_TRUE(store.openTable(table)) << lastError();
    const std::string key = "n";
    EXPECT_FALSE(store.sortInto(dir.file("sorted"), std::span(&key, 1)));
    EXPECT_EQ(lastError(), error::kBadFieldName);
    EXPECT_FALSE(store.copyInto(dir.file("copied")));
    EXPECT_EQ(lastError(), error::kBadFieldName);
    store.closeTable();
    EXPECT_EQ(files(), (std::set<std::string>{"t.EDB"}));
}

// A date-time that holds NaN reads as the zero date (no date), and sorts
// where that reads; one given as NaN is stored as the zero date.
TEST_F(HostileFile, DateTimeHoldingNaN) {
    create({{"d", 8, 0}, kInt});
    ASSERT_TRUE(store.openTable(table));
    for (auto [days, n] : {std::pair{5.0, 1}, {std::nan(""), 2}, {-3.0, 3}}) {
        ASSERT_TRUE(store.appendRecord({Value{Timestamp{days}}, Value{std::int32_t{n}}}));
    }
    store.closeTable();
    Bytes main = readBytes(mainPath);
    const std::size_t second = static_cast<std::size_t>(dataOffset(2)) + 16 + 4;
    EXPECT_EQ(loadDouble(&main[second]), 0.0) << "stored as given";
    storeDouble(&main[second], std::numeric_limits<double>::quiet_NaN());
    writeBytes(mainPath, main);

    ASSERT_TRUE(store.openTable(table));
    ASSERT_TRUE(store.skip());
    EXPECT_EQ(store.readField(1), Value{Timestamp{0.0}});
    const std::string key = "d";
    ASSERT_TRUE(store.sortInto(dir.file("sorted"), std::span(&key, 1)));
    store.closeTable();
    ASSERT_TRUE(store.openTable(dir.file("sorted")));
    std::vector<std::int32_t> order;
    for (int i = 0; i < 3; ++i, store.skip())
        order.push_back(std::get<std::int32_t>(store.readField(2)));
    EXPECT_EQ(order, (std::vector<std::int32_t>{3, 2, 1}));
    store.closeTable();
}

// An allocation that fails is the store's out-of-memory code (-55), never
// an abort; the table is left as it was.
TEST_F(HostileFile, AllocationFailureIsOutOfMemory) {
    create({kInt, kMemo});
    append({Value{std::int32_t{1}}, Value{std::string(1 << 20, 'm')}});
    append({Value{std::int32_t{2}}, Value{std::string("short")}});
    ASSERT_TRUE(store.openTable(table));
    setAllocationLimit(64 << 10);
    Value memo = store.readField(2);
    int readCode = lastError();
    const std::string key = "n";
    bool sorted = store.sortInto(dir.file("sorted"), std::span(&key, 1));
    int sortCode = lastError();
    setAllocationLimit(0);
    EXPECT_EQ(memo, Value{std::string()});
    EXPECT_EQ(readCode, -55);
    EXPECT_FALSE(sorted);
    EXPECT_EQ(sortCode, -55);
    EXPECT_EQ(store.recordCount(), 2);
    store.closeTable();
    EXPECT_EQ(files(), (std::set<std::string>{"t.EDB", "t.EDT"}));
}

}  // namespace
}  // namespace qinghe::recordstore
