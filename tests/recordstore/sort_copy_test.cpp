// sortInto and copyInto: order, numbering, deleted marks, structure and
// password of the new file, and what is refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "durability_support.h"
#include "recordstore/errors.h"

namespace qinghe::recordstore::testing {
namespace {

const std::string kDate = "日期"_gbk;

class SortCopyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fields = {{kDate, 8, 20}, {"N", 3, 0}, {"T", 10, 6}};
        ASSERT_TRUE(store.createTable(dir.file("t"), fields));
        ASSERT_TRUE(store.openTable(dir.file("t")));
    }
    void add(double date, std::int32_t n = 0, std::string text = {}) {
        ASSERT_TRUE(store.appendRecord({Value{Timestamp{date}}, Value{n}, Value{std::move(text)}}));
    }
    // (number, date) of every record of another table file.
    std::vector<std::pair<std::int32_t, double>> numbersAndDates(const std::string& name,
                                                                 std::string_view password = {}) {
        Registry other;
        std::vector<std::pair<std::int32_t, double>> result;
        EXPECT_TRUE(other.openTable(dir.file(name), {}, false, 1, password)) << lastError();
        for (int i = 0, n = other.recordCount(); i < n; ++i) {
            if (i > 0) other.skip();
            result.emplace_back(other.recordNumber(), std::get<Timestamp>(other.readField(1)).days);
        }
        return result;
    }
    std::vector<std::int32_t> keyOrder(const std::string& name, int field) {
        Registry other;
        std::vector<std::int32_t> result;
        EXPECT_TRUE(other.openTable(dir.file(name)));
        for (int i = 0, n = other.recordCount(); i < n; ++i) {
            if (i > 0) other.skip();
            result.push_back(std::get<std::int32_t>(other.readField(field)));
        }
        return result;
    }
    bool sortBy(const std::string& into, std::vector<std::string> keys, std::vector<bool> up = {}) {
        std::vector<bool> flags(up);
        std::unique_ptr<bool[]> raw(new bool[flags.size() + 1]);
        for (std::size_t i = 0; i < flags.size(); ++i) raw[i] = flags[i];
        return store.sortInto(dir.file(into), keys, std::span<const bool>(raw.get(), flags.size()));
    }

    TempDir dir;
    Registry store;
    std::vector<FieldSpec> fields;
};

TEST_F(SortCopyTest, SortsByDateAndNumbersInWrittenOrderKeepingDeletedMarks) {
    add(3), add(1), add(2);
    ASSERT_TRUE(store.skip(-1));  // position 1: the record dated 1
    ASSERT_TRUE(store.deleteCurrent());
    ASSERT_TRUE(sortBy("s", {kDate}));
    EXPECT_EQ(store.position(), 1);  // the current record is kept
    EXPECT_EQ(numbersAndDates("s"),
              (std::vector<std::pair<std::int32_t, double>>{{-1, 1}, {2, 2}, {3, 3}}));
    Bytes sorted = readBytes(dir.file("s.EDB"));
    EXPECT_EQ(i32At(sorted, 16), 3);
    EXPECT_EQ(i32At(sorted, 20), 4);
}

TEST_F(SortCopyTest, DescendingAndSeveralKeys) {
    add(2, 1, "b"), add(1, 2, "a"), add(2, 3, "a"), add(1, 4, "b");
    ASSERT_TRUE(sortBy("down", {kDate}, {false}));
    EXPECT_EQ(keyOrder("down", 2), (std::vector<std::int32_t>{1, 3, 2, 4}));
    ASSERT_TRUE(sortBy("two", {kDate, "t"}, {false}));  // the second key ascends
    EXPECT_EQ(keyOrder("two", 2), (std::vector<std::int32_t>{3, 1, 2, 4}));
}

TEST_F(SortCopyTest, ComparesEachTypeByItsValue) {
    // int: signed; text: byte-wise with case significant ("B" < "a" < "b").
    add(0, -5, "b"), add(0, 7, "B"), add(0, 0, "a"), add(0, -70000, "ab");
    ASSERT_TRUE(sortBy("n", {"N"}));
    EXPECT_EQ(keyOrder("n", 2), (std::vector<std::int32_t>{-70000, -5, 0, 7}));
    ASSERT_TRUE(sortBy("byText", {"T"}));
    EXPECT_EQ(keyOrder("byText", 2), (std::vector<std::int32_t>{7, 0, -70000, -5}));
}

// Equal keys keep their file order: groups of more than 16 equal keys (past
// the small-input path of a sort), keys narrower and wider than 8 bytes,
// ascending and descending.
struct StableCase {
    const char* name;
    std::vector<std::string> keys;
    std::vector<bool> ascending;
};

void PrintTo(const StableCase& c, std::ostream* os) {
    *os << c.name;
}

class StableSort : public SortCopyTest, public ::testing::WithParamInterface<StableCase> {};

TEST_P(StableSort, EqualKeysKeepTheirFileOrder) {
    const StableCase& c = GetParam();
    struct Source {
        double date;
        std::string text;
        std::int32_t order;
    };
    std::vector<Source> records;
    for (std::int32_t i = 0; i < 200; ++i) {
        records.push_back({1.0 + (i * 7) % 3, i % 2 == 0 ? "a" : "b", i});
        add(records.back().date, i, records.back().text);
    }
    ASSERT_TRUE(sortBy("s", c.keys, c.ascending));
    // The expected order: a stable sort by the same keys.
    auto before = [&](const Source& x, const Source& y) {
        for (std::size_t k = 0; k < c.keys.size(); ++k) {
            bool up = k >= c.ascending.size() || c.ascending[k];
            int cmp = c.keys[k] == kDate ? (x.date < y.date ? -1 : x.date > y.date)
                                         : x.text.compare(y.text);
            if (cmp != 0) return up ? cmp < 0 : cmp > 0;
        }
        return false;
    };
    std::stable_sort(records.begin(), records.end(), before);
    std::vector<std::int32_t> expected;
    for (const auto& r : records) expected.push_back(r.order);
    EXPECT_EQ(keyOrder("s", 2), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StableSort,
    ::testing::Values(StableCase{"DateOfEightBytes", {kDate}, {}},
                      StableCase{"DateAndTextWiderThanEight", {kDate, "T"}, {}},
                      StableCase{"DateDescendingAndText", {kDate, "T"}, {false}},
                      StableCase{"TextDescending", {"T"}, {false}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SortCopyTest, DateTimesBeforeTheEpochSortByTheirInstant) {
    // -1.25 is 1899-12-29 06:00, earlier than -1.5 (1899-12-29 12:00).
    add(-1.5, 1), add(-1.25, 2), add(-2.0, 3), add(0.5, 4), add(-0.0, 5);
    ASSERT_TRUE(sortBy("d", {kDate}));
    EXPECT_EQ(keyOrder("d", 2), (std::vector<std::int32_t>{3, 2, 1, 5, 4}));
}

TEST_F(SortCopyTest, EmptyTableGivesAnEmptyFile) {
    ASSERT_TRUE(sortBy("e", {kDate}));
    Bytes bytes = readBytes(dir.file("e.EDB"));
    ASSERT_EQ(bytes.size(), 116u + 3u * 72u);
    EXPECT_EQ(i32At(bytes, 16), 0);
    EXPECT_EQ(i32At(bytes, 20), 1);
    ASSERT_TRUE(store.copyInto(dir.file("c")));
    EXPECT_EQ(readBytes(dir.file("c.EDB")).size(), bytes.size());
}

TEST_F(SortCopyTest, CopyRenumbersInFileOrder) {
    add(1), add(2), add(3), add(4), add(5), add(6);
    // Numbers 1, 4 and a deleted 6 remain.
    for (int position : {1, 2, 4}) {
        ASSERT_TRUE(store.skip(position - static_cast<int>(store.position())));
        ASSERT_TRUE(store.deleteCurrent());
    }
    ASSERT_TRUE(store.pack());
    store.goLast();
    ASSERT_TRUE(store.deleteCurrent());
    ASSERT_TRUE(store.copyInto(dir.file("c")));
    EXPECT_EQ(numbersAndDates("c"),
              (std::vector<std::pair<std::int32_t, double>>{{1, 1}, {2, 4}, {-3, 6}}));
    Bytes copy = readBytes(dir.file("c.EDB"));
    EXPECT_EQ(i32At(copy, 16), 3);
    EXPECT_EQ(i32At(copy, 20), 4);
}

TEST_F(SortCopyTest, SelectedFieldsMakeTheStructure) {
    add(9, 42, "x");
    std::vector<std::string> only = {"t", kDate};
    ASSERT_TRUE(store.copyInto(dir.file("f"), {}, only));
    Registry other;
    ASSERT_TRUE(other.openTable(dir.file("f")));
    auto info = other.currentTableInfo();
    ASSERT_EQ(info->fields.size(), 2u);
    EXPECT_EQ(info->fields[0].offset, 4);
    EXPECT_EQ(info->fields[1].offset, 10);
    EXPECT_EQ(other.readField(1), Value{std::string("x")});
    EXPECT_EQ(other.readField(2), Value{Timestamp{9}});
    std::vector<std::string> missing = {"nope"};
    EXPECT_FALSE(store.copyInto(dir.file("g"), {}, missing));
    EXPECT_EQ(lastError(), error::kFieldNotFound);
}

TEST_F(SortCopyTest, RefusesBadKeysConditionsAndOpenDestinations) {
    add(1);
    EXPECT_FALSE(sortBy("x", {"nope"}));
    EXPECT_EQ(lastError(), -71);
    EXPECT_FALSE(sortBy("x", {}));
    EXPECT_EQ(lastError(), -71);
    EXPECT_FALSE(store.copyInto(dir.file("x"), "N > 1"));
    EXPECT_EQ(lastError(), -75);
    // Into itself: the open table is not replaced under its own open.
    EXPECT_FALSE(sortBy("t", {kDate}));
    EXPECT_EQ(lastError(), error::kSharingViolation);
    EXPECT_EQ(store.recordCount(), 1);
    Registry none;
    EXPECT_FALSE(none.copyInto(dir.file("x")));
    EXPECT_EQ(lastError(), -67);
}

TEST_F(SortCopyTest, MemoKeysAreRefusedAndMemoValuesCopied) {
    TempDir d;
    Registry s;
    std::vector<FieldSpec> memoFields = {{"M", 12, 0}, {"K", 3, 0}, {"B", 11, 0}};
    ASSERT_TRUE(s.createTable(d.file("m"), memoFields));
    ASSERT_TRUE(s.openTable(d.file("m"), {}, false, 1, {}));
    ASSERT_TRUE(s.appendRecord(
        {Value{std::string(1200, 'x')}, Value{std::int32_t{2}}, Value{ByteArray(3, 9)}}));
    ASSERT_TRUE(s.appendRecord({Value{std::string("short")}, Value{std::int32_t{1}}}));
    ASSERT_TRUE(s.setPassword("pw"));
    std::vector<std::string> memoKey = {"M"};
    EXPECT_FALSE(s.sortInto(d.file("bad"), memoKey));
    EXPECT_EQ(lastError(), -71);
    std::vector<std::string> key = {"K"};
    ASSERT_TRUE(s.sortInto(d.file("out"), key));
    Registry other;
    ASSERT_TRUE(other.openTable(d.file("out"), {}, false, 1, "pw")) << lastError();
    EXPECT_EQ(other.readField(1), Value{std::string("short")});
    EXPECT_EQ(other.readField(3), Value{ByteArray{}});
    other.skip();
    EXPECT_EQ(other.readField(1), Value{std::string(1200, 'x')});
    EXPECT_EQ(other.readField(3), Value{ByteArray(3, 9)});
    EXPECT_EQ(readBytes(d.file("out.EDT")).size(),
              6u * 512u);  // header, 3 + 1 memo blocks, 1 array block

    // Into its own files, both at once, from the one open that excludes
    // every other: the sorted table replaces them and the open is closed.
    other.closeTable();
    s.closeTable();
    ASSERT_TRUE(s.openTable(d.file("m"), {}, false, 4, "pw"));
    ASSERT_TRUE(s.sortInto(d.file("m"), key)) << lastError();
    EXPECT_FALSE(s.currentTableInfo());
    ASSERT_TRUE(s.openTable(d.file("m"), {}, true, 1, "pw")) << lastError();
    EXPECT_EQ(s.readField(1), Value{std::string("short")});
    s.skip();
    EXPECT_EQ(s.readField(1), Value{std::string(1200, 'x')});
    EXPECT_EQ(s.readField(3), Value{ByteArray(3, 9)});
    for (const auto& e : std::filesystem::directory_iterator(d.path())) {
        EXPECT_EQ(e.path().filename().string().find(".~"), std::string::npos) << e.path();
    }
}

TEST_F(SortCopyTest, ReplacesAnExistingTableWholeAndLeavesNoTemporaryFiles) {
    add(5), add(4);
    ASSERT_TRUE(store.copyInto(dir.file("b")));
    add(3);
    ASSERT_TRUE(sortBy("b", {kDate}));
    EXPECT_EQ(numbersAndDates("b"),
              (std::vector<std::pair<std::int32_t, double>>{{1, 3}, {2, 4}, {3, 5}}));
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"b.EDB", "t.EDB"}));
}

TEST_F(SortCopyTest, ADestinationThatAnotherOpenHoldsIsNotReplaced) {
    add(1);
    ASSERT_TRUE(store.copyInto(dir.file("b")));
    Registry holder;
    ASSERT_TRUE(holder.openTable(dir.file("B.edb")));
    add(2);
    EXPECT_FALSE(store.copyInto(dir.file("b")));
    EXPECT_EQ(lastError(), error::kSharingViolation);
    EXPECT_EQ(holder.recordCount(), 1);
}

}  // namespace
}  // namespace qinghe::recordstore::testing
