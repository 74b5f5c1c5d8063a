// Record access: positions, reading, appending, deleting, pack and zap, and
// values in auxiliary block chains.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <limits>

#include "recordstore/cipher.h"
#include "recordstore/read_ahead.h"
#include "recordstore/table_locks.h"
#include "support.h"

namespace qinghe::recordstore {
namespace {

using namespace testing;

class RecordsTest : public ::testing::Test {
  protected:
    TempDir dir;
    FixedClock clock{45000.0};
    Registry store{posixFileSystem(), clock};

    void openNew(std::vector<FieldSpec> fields, const std::string& name = "t") {
        ASSERT_TRUE(store.createTable(dir.file(name), fields)) << lastError();
        ASSERT_TRUE(store.openTable(dir.file(name))) << lastError();
    }
    void openInts(int records) {
        openNew({{"n", 3, 0}});
        for (int i = 1; i <= records; ++i) {
            ASSERT_TRUE(store.appendRecord({Value{std::int32_t{i * 10}}}));
        }
        reopen();
    }
    void reopen(const std::string& name = "t") {
        store.closeTable();
        ASSERT_TRUE(store.openTable(dir.file(name))) << lastError();
    }
    std::int32_t intField(int n = 1) { return std::get<std::int32_t>(store.readField(n)); }
    Bytes file(const std::string& name = "t.EDB") { return readBytes(dir.file(name)); }
};

TEST_F(RecordsTest, NewTableEdgeCases) {
    openNew({{"n", 3, 0}});
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_TRUE(store.goLast());
    EXPECT_EQ(store.position(), 0);
    EXPECT_EQ(intField(), 0);
    EXPECT_EQ(lastError(), -10);
    EXPECT_FALSE(store.skip());
    EXPECT_EQ(lastError(), -26);
    EXPECT_FALSE(store.skip(-1));
    EXPECT_EQ(lastError(), -25);
    EXPECT_TRUE(store.skip(0));
}

TEST_F(RecordsTest, SteppingThroughThreeRecords) {
    openInts(3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(store.position(), i);
        EXPECT_EQ(intField(), (i + 1) * 10);
        EXPECT_TRUE(store.skip());
    }
    EXPECT_EQ(store.position(), 3);
    EXPECT_FALSE(store.skip());
    EXPECT_EQ(lastError(), -26);
    EXPECT_EQ(store.position(), 3);
    EXPECT_TRUE(store.skip(-5));
    EXPECT_EQ(store.position(), -1);
    EXPECT_EQ(intField(), 0);
    EXPECT_EQ(lastError(), -60);
    EXPECT_FALSE(store.skip(-1));
    EXPECT_EQ(lastError(), -25);
    EXPECT_TRUE(store.skip(100));
    EXPECT_EQ(store.position(), 3);
    EXPECT_TRUE(store.goLast());
    EXPECT_EQ(store.position(), 2);
}

TEST_F(RecordsTest, AppendStoresTheRecordBytes) {
    openNew({{"d", 8, 0}, {"s", 10, 20}});
    ASSERT_TRUE(store.appendRecord({Value{Timestamp{0.0}}, Value{std::string("x")}}));
    EXPECT_EQ(store.position(), 0);
    Bytes b = file();
    ASSERT_EQ(b.size(), 260u + 32u);
    EXPECT_EQ(i32At(b, 16), 1);
    EXPECT_EQ(i32At(b, 20), 2);
    const std::size_t r = 260;
    EXPECT_EQ(i32At(b, r), 1);
    EXPECT_EQ(format::loadDouble(&b[r + 4]), 0.0);
    EXPECT_EQ(b[r + 12], 'x');
    EXPECT_TRUE(std::all_of(b.begin() + r + 13, b.end(), [](auto c) { return c == 0; }));
}

TEST_F(RecordsTest, AppendTypeRules) {
    openNew({{"i", 3, 0}, {"d", 6, 0}, {"b", 1, 0}, {"t", 8, 0}});
    EXPECT_FALSE(store.appendRecord({Value{std::string("7")}}));
    EXPECT_EQ(lastError(), -72);
    EXPECT_FALSE(store.appendRecord({std::nullopt, std::nullopt, std::nullopt, Value{1.5}}));
    EXPECT_EQ(lastError(), -72);  // a double is not a date-time
    EXPECT_EQ(file().size(), 116u + 4 * 72u);
    ASSERT_TRUE(store.appendRecord({Value{7.9}, Value{std::int32_t{3}}, Value{300.0}}));
    EXPECT_EQ(std::get<std::int32_t>(store.readField(1)), 7);
    EXPECT_EQ(std::get<double>(store.readField(2)), 3.0);
    EXPECT_EQ(std::get<std::uint8_t>(store.readField(3)), 255);
    EXPECT_EQ(std::get<Timestamp>(store.readField(4)).days, 0.0);
    // Values beyond the field count are ignored.
    ASSERT_TRUE(store.appendRecord({Value{std::int64_t{-1}}, std::nullopt, std::nullopt,
                                    std::nullopt, Value{std::string("extra")}}));
    EXPECT_EQ(intField(), -1);
}

// A number stored in an integer field too narrow for it keeps the nearest
// end of the field's range; NaN is stored as zero.
TEST_F(RecordsTest, NumbersOutsideAFieldsRangeKeepItsNearestEnd) {
    openNew({{"b", 1, 0}, {"s", 2, 0}, {"i", 3, 0}, {"l", 4, 0}});
    using I16 = std::numeric_limits<std::int16_t>;
    using I32 = std::numeric_limits<std::int32_t>;
    using I64 = std::numeric_limits<std::int64_t>;
    struct Case {
        Value stored;
        std::uint8_t byte;
        std::int16_t shortInt;
        std::int32_t integer;
        std::int64_t wide;
    };
    const Case cases[] = {
        {Value{std::nan("")}, 0, 0, 0, 0},
        {Value{1e300}, 255, I16::max(), I32::max(), I64::max()},
        {Value{-1e300}, 0, I16::min(), I32::min(), I64::min()},
        {Value{-2.75}, 0, -2, -2, -2},
        {Value{I64::max()}, 255, I16::max(), I32::max(), I64::max()},
        {Value{I64::min()}, 0, I16::min(), I32::min(), I64::min()},
        {Value{std::int32_t{-1}}, 0, -1, -1, -1},
        {Value{std::uint8_t{200}}, 200, 200, 200, 200},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(store.appendRecord({c.stored, c.stored, c.stored, c.stored}));
    }
    reopen();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(store.readField(1), Value{c.byte});
        EXPECT_EQ(store.readField(2), Value{c.shortInt});
        EXPECT_EQ(store.readField(3), Value{c.integer});
        EXPECT_EQ(store.readField(4), Value{c.wide});
        store.skip();
    }
}

TEST_F(RecordsTest, EveryFixedTypeRoundTrips) {
    openNew({{"a", 1, 0},
             {"b", 2, 0},
             {"c", 3, 0},
             {"d", 4, 0},
             {"e", 5, 0},
             {"f", 6, 0},
             {"g", 7, 0},
             {"h", 8, 0},
             {"i", 9, 0},
             {"j", 10, 4}});
    ASSERT_TRUE(store.appendRecord(
        {Value{std::uint8_t{200}}, Value{std::int16_t{-2}}, Value{std::int32_t{-3}},
         Value{std::int64_t{1} << 40}, Value{0.25f}, Value{-1e300}, Value{true},
         Value{Timestamp{45000.75}}, Value{Reference{0xFFFFFFFF}}, Value{std::string("abcdef")}}));
    reopen();
    EXPECT_EQ(store.readField(1), Value{std::uint8_t{200}});
    EXPECT_EQ(store.readField(2), Value{std::int16_t{-2}});
    EXPECT_EQ(store.readField(3), Value{std::int32_t{-3}});
    EXPECT_EQ(store.readField(4), Value{std::int64_t{1} << 40});
    EXPECT_EQ(store.readField(5), Value{0.25f});
    EXPECT_EQ(store.readField(6), Value{-1e300});
    EXPECT_EQ(store.readField(7), Value{true});
    EXPECT_EQ(store.readField("H"), Value{Timestamp{45000.75}});
    EXPECT_EQ(store.readField(9), Value{Reference{0xFFFFFFFF}});
    EXPECT_EQ(store.readField(10), Value{std::string("abcd")});  // cut, no terminator
}

TEST_F(RecordsTest, TextCutToItsSizeHasNoTerminator) {
    openNew({{"r", 10, 20}, {"n", 3, 0}});
    std::string remark = "1234567890123456789012345";
    ASSERT_TRUE(store.appendRecord({Value{remark}, Value{std::int32_t{-1}}}));
    EXPECT_EQ(store.readField(1), Value{remark.substr(0, 20)});
    Bytes b = file();
    std::size_t r = 116 + 2 * 72;
    EXPECT_EQ(std::string(&b[r + 4], &b[r + 24]), remark.substr(0, 20));
    EXPECT_EQ(i32At(b, r + 24), -1);  // the next field follows at once
}

TEST_F(RecordsTest, BoolReadsAnyNonZeroByteAsTrue) {
    openNew({{"b", 7, 0}});
    ASSERT_TRUE(store.appendRecord({Value{true}}));
    store.closeTable();
    Bytes b = file();
    b[116 + 72 + 4] = 0x80;
    writeBytes(dir.file("t.EDB"), b);
    ASSERT_TRUE(store.openTable(dir.file("t")));
    EXPECT_EQ(store.readField(1), Value{true});
}

TEST_F(RecordsTest, DateTimesAreClampedToTheYears100To9999) {
    openNew({{"d", 8, 0}});
    ASSERT_TRUE(store.appendRecord({Value{Timestamp{3000000.0}}}));
    ASSERT_TRUE(store.appendRecord({Value{Timestamp{-700000.0}}}));
    reopen();
    EXPECT_EQ(std::get<Timestamp>(store.readField(1)).days, 2958465.0);
    store.skip();
    EXPECT_EQ(std::get<Timestamp>(store.readField(1)).days, -657434.0);
}

TEST_F(RecordsTest, FatalErrorsOfReadField) {
    FatalTrap trap;
    EXPECT_EQ(store.readField(1), Value{std::int32_t{0}});
    ASSERT_EQ(trap.errors.size(), 1u);
    EXPECT_EQ(trap.errors[0].code, -67);
    EXPECT_EQ(gbk::toUtf8(trap.errors[0].message), "未指定当前数据库或者指定数据库未打开");
    openInts(1);
    store.readField("nope");
    store.readField(2);
    store.readField(0);
    ASSERT_EQ(trap.errors.size(), 4u);
    EXPECT_EQ(trap.errors[1].code, -61);
    EXPECT_EQ(gbk::toUtf8(trap.errors[1].message), "指定字段不存在");
    EXPECT_EQ(std::get<std::int32_t>(store.readField("N")), 10);
    EXPECT_EQ(trap.errors.size(), 4u);
}

TEST_F(RecordsTest, OperationsWithoutATableFailWith67) {
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_EQ(lastError(), -67);
    EXPECT_FALSE(store.skip());
    EXPECT_FALSE(store.goLast());
    EXPECT_FALSE(store.appendRecord({}));
    EXPECT_FALSE(store.deleteCurrent());
    EXPECT_FALSE(store.pack());
    EXPECT_FALSE(store.zap());
    EXPECT_EQ(lastError(), -67);
}

TEST_F(RecordsTest, DeleteMarksAndPackRemovesKeepingNumbers) {
    openInts(5);
    ASSERT_TRUE(store.goLast());
    ASSERT_TRUE(store.deleteCurrent());
    EXPECT_EQ(store.recordNumber(), -5);
    EXPECT_EQ(intField(), 50);           // a marked record still reads
    ASSERT_TRUE(store.deleteCurrent());  // already marked: unchanged
    EXPECT_EQ(store.recordNumber(), -5);
    store.skip(-4);
    ASSERT_TRUE(store.deleteCurrent());
    EXPECT_EQ(store.recordCount(), 5);
    ASSERT_TRUE(store.pack());
    EXPECT_EQ(store.position(), 0);
    EXPECT_EQ(store.recordCount(), 3);
    Bytes b = file();
    EXPECT_EQ(b.size(), 188u + 3 * 8u);
    EXPECT_EQ(i32At(b, 20), 6);
    std::vector<std::int32_t> numbers, values;
    for (std::size_t at = 188; at < b.size(); at += 8) {
        numbers.push_back(i32At(b, at));
        values.push_back(i32At(b, at + 4));
    }
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{2, 3, 4}));
    EXPECT_EQ(values, (std::vector<std::int32_t>{20, 30, 40}));
    ASSERT_TRUE(store.appendRecord({Value{std::int32_t{60}}}));
    EXPECT_EQ(store.recordNumber(), 6);
}

// pack over 1024-byte records, 160 to a batch: every kept record moves down
// over all the gaps before it, also in batches that hold no deleted record.
struct PackCase {
    const char* name;
    int records;
    bool (*deleted)(int i);
};

void PrintTo(const PackCase& c, std::ostream* os) {
    *os << c.name;
}

class PackBatches : public RecordsTest, public ::testing::WithParamInterface<PackCase> {};

TEST_P(PackBatches, KeepsEveryLiveRecordInOrder) {
    const PackCase& c = GetParam();
    openNew({{"t", 10, 1020}});
    std::vector<int> kept;
    for (int i = 0; i < c.records; ++i) {
        ASSERT_TRUE(store.appendRecord({Value{std::to_string(i)}}));
        if (c.deleted(i)) {
            ASSERT_TRUE(store.deleteCurrent());
        } else {
            kept.push_back(i);
        }
    }
    ASSERT_TRUE(store.pack());
    EXPECT_EQ(store.recordCount(), static_cast<int>(kept.size()));
    Bytes b = file();
    const std::size_t data = 116 + 72, length = 1024;
    ASSERT_EQ(b.size(), data + kept.size() * length);
    for (std::size_t k = 0; k < kept.size(); ++k) {
        const std::size_t at = data + k * length;
        ASSERT_EQ(i32At(b, at), kept[k] + 1) << "record " << k;
        ASSERT_EQ(std::string(reinterpret_cast<const char*>(&b[at + 4])), std::to_string(kept[k]));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Deleted, PackBatches,
    ::testing::Values(PackCase{"FirstOnly", 400, [](int i) { return i == 0; }},
                      PackCase{"OneInTheMiddleBatch", 400, [](int i) { return i == 200; }},
                      PackCase{"LastOnly", 400, [](int i) { return i == 399; }},
                      PackCase{"TheWholeFirstBatch", 400, [](int i) { return i < 160; }},
                      PackCase{"EveryThird", 500, [](int i) { return i % 3 == 0; }},
                      PackCase{"All", 400, [](int) { return true; }}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(RecordsTest, PackWithNothingDeletedChangesNothing) {
    openInts(3);
    Bytes before = file();
    store.skip(2);
    ASSERT_TRUE(store.pack());
    EXPECT_EQ(store.position(), 0);
    EXPECT_EQ(file(), before);
}

TEST_F(RecordsTest, ZapKeepsTheNextNumber) {
    openInts(7);
    ASSERT_TRUE(store.zap());
    EXPECT_EQ(store.recordCount(), 0);
    Bytes b = file();
    EXPECT_EQ(b.size(), 188u);
    EXPECT_EQ(i32At(b, 20), 8);
    ASSERT_TRUE(store.appendRecord({Value{std::int32_t{1}}}));
    EXPECT_EQ(store.recordNumber(), 8);
}

TEST_F(RecordsTest, ReadOnlyTablesRefuseWrites) {
    openInts(2);
    store.closeTable();
    ASSERT_TRUE(store.openTable(dir.file("t"), {}, true));
    EXPECT_FALSE(store.appendRecord({Value{std::int32_t{1}}}));
    EXPECT_EQ(lastError(), -6);
    EXPECT_FALSE(store.deleteCurrent());
    EXPECT_FALSE(store.pack());
    EXPECT_FALSE(store.zap());
    EXPECT_EQ(store.recordCount(), 2);
}

TEST_F(RecordsTest, ConditionsAreRefused) {
    openInts(1);
    EXPECT_FALSE(store.deleteCurrent("n > 1"));
    EXPECT_EQ(lastError(), -75);
    EXPECT_EQ(store.recordNumber(), 1);
}

TEST_F(RecordsTest, ReadAheadSeesAppendsOfAnotherOpenAfterItsWindow) {
    openInts(2);
    EXPECT_EQ(intField(), 10);
    // A second registry stands for another process on the same file.
    Registry other{posixFileSystem(), clock};
    ASSERT_TRUE(other.openTable(dir.file("t")));
    ASSERT_TRUE(other.appendRecord({Value{std::int32_t{30}}}));
    EXPECT_EQ(store.recordCount(), 3);  // the count is always read afresh
    store.skip(2);
    EXPECT_EQ(intField(), 30);
    // A zap and a new append there: the next read-ahead sees the new record.
    ASSERT_TRUE(other.zap());
    ASSERT_TRUE(other.appendRecord({Value{std::int32_t{99}}}));
    clock.advanceMs(kReadAheadMs);
    store.skip(-2);
    EXPECT_EQ(store.position(), 0);
    EXPECT_EQ(intField(), 99);
}

// A read of a record whose first byte another open holds locked waits for
// the lock, then fails with -13 and gives the zero value; it never reads
// past the lock. Once the lock is gone the same read succeeds.
struct LockedRead {
    const char* name;
    int records;
    int position;
    int field;  // 1: the int, 2: the memo
};

void PrintTo(const LockedRead& c, std::ostream* os) {
    *os << c.name;
}

class ReadUnderLock : public RecordsTest, public ::testing::WithParamInterface<LockedRead> {};

TEST_P(ReadUnderLock, WaitsAndFailsWithTheLockError) {
    const LockedRead& c = GetParam();
    openNew({{"n", 3, 0}, {"m", 12, 0}});
    for (int i = 0; i < c.records; ++i) {
        ASSERT_TRUE(store.appendRecord({Value{std::int32_t{i + 1}}, Value{std::to_string(i + 1)}}));
    }
    reopen();
    ASSERT_TRUE(store.skip(c.position));
    const std::int64_t recordStart = 116 + 2 * 72 + c.position * 12;

    int other = ::open(dir.file("t.EDB").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = recordStart;
    lock.l_len = 1;
    ASSERT_EQ(::fcntl(other, F_OFD_SETLK, &lock), 0);

    const std::uint64_t start = clock.tickCount();
    Value zero = c.field == 1 ? Value{std::int32_t{0}} : Value{std::string()};
    EXPECT_EQ(store.readField(c.field), zero);
    EXPECT_EQ(lastError(), error::kLockViolation);
    EXPECT_GE(clock.tickCount() - start, static_cast<std::uint64_t>(kLockWaitMs));

    ::close(other);  // the lock goes with its open file
    Value value =
        c.field == 1 ? Value{std::int32_t{c.position + 1}} : Value{std::to_string(c.position + 1)};
    EXPECT_EQ(store.readField(c.field), value);
}

INSTANTIATE_TEST_SUITE_P(Records, ReadUnderLock,
                         ::testing::Values(LockedRead{"TheOnlyRecord", 1, 0, 1},
                                           LockedRead{"TheFirstOfThree", 3, 0, 1},
                                           LockedRead{"TheLastOfThree", 3, 2, 1},
                                           LockedRead{"AMemoOfTheOnlyRecord", 1, 0, 2}),
                         [](const auto& p) { return std::string(p.param.name); });

// ---- memo and byte-array values ---------------------------------------------

class ChainTest : public RecordsTest {
  protected:
    void SetUp() override { openNew({{"m", 12, 0}, {"b", 11, 0}, {"n", 3, 0}}); }
    Bytes aux() { return file("t.EDT"); }
};

TEST_F(ChainTest, ValuesOverSeveralBlocks) {
    std::string memo(1234, 'm');
    memo[0] = 'A';
    memo[1233] = 'Z';
    ByteArray bytes(500, 7);
    ASSERT_TRUE(store.appendRecord({Value{memo}, Value{bytes}, Value{std::int32_t{1}}}));
    ASSERT_TRUE(store.appendRecord({Value{std::string()}, Value{ByteArray{}}}));
    reopen();
    EXPECT_EQ(store.readField(1), Value{memo});
    EXPECT_EQ(store.readField(2), Value{bytes});
    store.skip();
    EXPECT_EQ(store.readField(1), Value{std::string()});
    EXPECT_EQ(store.readField(2), Value{ByteArray{}});
    Bytes a = aux();
    EXPECT_EQ(a.size(), 5u * 512u);  // header, 3 memo blocks, 1 byte-array block
    EXPECT_EQ(i32At(a, 16), 5);
    // The memo chain 1 -> 2 -> 3 with 500, 500 and 234 bytes used.
    EXPECT_EQ(i32At(a, 512 + 0), 0);
    EXPECT_EQ(i32At(a, 512 + 4), 2);
    EXPECT_EQ(i32At(a, 512 + 8), 500);
    EXPECT_EQ(i32At(a, 3 * 512 + 0), 2);
    EXPECT_EQ(i32At(a, 3 * 512 + 4), 0);
    EXPECT_EQ(i32At(a, 3 * 512 + 8), 234);
}

TEST_F(ChainTest, PackFreesChainsAndAppendReusesThem) {
    ASSERT_TRUE(store.appendRecord({Value{std::string(1200, 'a')}}));  // blocks 1-3
    ASSERT_TRUE(store.appendRecord({Value{std::string(600, 'b')}}));   // blocks 4-5
    ASSERT_TRUE(store.appendRecord({Value{std::string(10, 'c')}}));    // block 6
    store.goLast();
    ASSERT_TRUE(store.deleteCurrent());  // frees the last block: the file shrinks
    store.skip(-2);
    ASSERT_TRUE(store.deleteCurrent());
    ASSERT_TRUE(store.pack());
    Bytes a = aux();
    EXPECT_EQ(a.size(), 6u * 512u);
    EXPECT_EQ(i32At(a, 16), 6);
    EXPECT_EQ(i32At(a, 20), 3);
    EXPECT_EQ(i32At(a, 24), 1);
    EXPECT_EQ(store.readField(1), Value{std::string(600, 'b')});
    ASSERT_TRUE(store.appendRecord({Value{std::string(1500, 'd')}, Value{ByteArray(501, 1)}}));
    a = aux();
    EXPECT_EQ(i32At(a, 16), 8);  // 3 reused, 2 new
    EXPECT_EQ(i32At(a, 20), 0);
    EXPECT_EQ(store.readField(1), Value{std::string(1500, 'd')});
    EXPECT_EQ(store.readField(2), Value{ByteArray(501, 1)});
    store.skip(-1);
    EXPECT_EQ(store.readField(1), Value{std::string(600, 'b')});
}

TEST_F(ChainTest, ZapEmptiesTheAuxiliaryFile) {
    ASSERT_TRUE(store.appendRecord({Value{std::string(2000, 'a')}}));
    ASSERT_TRUE(store.zap());
    Bytes a = aux();
    EXPECT_EQ(a.size(), 512u);
    EXPECT_EQ(i32At(a, 16), 1);
}

TEST_F(ChainTest, ACycleInAChainEndsWith59) {
    ASSERT_TRUE(store.appendRecord({Value{std::string(1200, 'a')}}));
    store.closeTable();
    Bytes a = aux();
    format::storeI32(&a[3 * 512 + 4], 1);  // last block points back to the first
    writeBytes(dir.file("t.EDT"), a);
    ASSERT_TRUE(store.openTable(dir.file("t")));
    EXPECT_EQ(store.readField(1), Value{std::string()});
    EXPECT_EQ(lastError(), -59);
    format::storeI32(&a[512 + 4], 77);  // a block beyond the file
    writeBytes(dir.file("t.EDT"), a);
    EXPECT_EQ(store.readField(1), Value{std::string()});
    EXPECT_EQ(lastError(), -59);
    format::storeI32(&a[512 + 8], 501);  // more than a block holds
    writeBytes(dir.file("t.EDT"), a);
    EXPECT_EQ(store.readField(1), Value{std::string()});
    EXPECT_EQ(lastError(), -59);
}

TEST_F(ChainTest, EncipheredChainsRoundTrip) {
    store.closeTable();
    // Encipher both files of the empty table with "pw".
    for (const char* name : {"t.EDB", "t.EDT"}) {
        Bytes b = file(name);
        if (std::string(name) == "t.EDB") {
            std::copy(format::kCipheredMagic.begin(), format::kCipheredMagic.end(), b.begin());
            std::string check = passwordCheckString("pw");
            std::copy(check.begin(), check.end(), b.begin() + 28);
        }
        Cipher("pw").apply(0, b);
        writeBytes(dir.file(name), b);
    }
    ASSERT_TRUE(store.openTable(dir.file("t"), {}, false, 1, "pw")) << lastError();
    std::string memo(5000, 'q');
    ASSERT_TRUE(store.appendRecord({Value{memo}, Value{ByteArray(3, 9)}, Value{std::int32_t{4}}}));
    store.closeTable();
    ASSERT_TRUE(store.openTable(dir.file("t"), {}, false, 1, "pw"));
    EXPECT_EQ(store.readField(1), Value{memo});
    EXPECT_EQ(store.readField(2), Value{ByteArray(3, 9)});
    EXPECT_EQ(store.readField(3), Value{std::int32_t{4}});
    Bytes a = aux();
    EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "WEDT");
    EXPECT_LT(std::count(a.begin() + 512, a.end(), 'q'), 100);  // 5000 if plain
}

}  // namespace
}  // namespace qinghe::recordstore
