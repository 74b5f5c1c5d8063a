// setPassword: setting, changing and removing the password of a table.
#include <gtest/gtest.h>

#include "durability_support.h"
#include "recordstore/errors.h"

namespace qinghe::recordstore::testing {
namespace {

class RekeyTest : public ::testing::TestWithParam<bool> {
  protected:
    bool memo() const { return GetParam(); }
    std::string path() const { return dir.file("t"); }
    std::vector<Row> expected(int n) {
        std::vector<Row> rows;
        for (int i = 1; i <= n; ++i) rows.push_back({i, i, true});
        return rows;
    }
    TempDir dir;
};

TEST_P(RekeyTest, SetsChangesAndRemovesThePassword) {
    std::vector<int> ids;
    for (int i = 1; i <= 300; ++i) ids.push_back(i);  // several 4096-byte cipher blocks
    makeSampleTable(path(), ids, memo());
    Bytes plain = readBytes(dir.file("t.EDB"));
    Registry store;
    ASSERT_TRUE(store.openTable(path()));
    ASSERT_TRUE(store.setPassword("甲乙"_gbk));
    EXPECT_EQ(readRows(store, memo()), expected(300));  // the open table uses the new key
    store.closeTable();
    Bytes ciphered = readBytes(dir.file("t.EDB"));
    ASSERT_EQ(ciphered.size(), plain.size());
    EXPECT_EQ(std::string(ciphered.begin(), ciphered.begin() + 4), "WCDB");
    EXPECT_NE(Bytes(ciphered.begin() + 4, ciphered.end()), Bytes(plain.begin() + 4, plain.end()));
    EXPECT_FALSE(rowsOf(path(), {}, memo()));
    EXPECT_EQ(rowsOf(path(), "甲乙"_gbk, memo()), expected(300));

    ASSERT_TRUE(store.openTable(path(), {}, false, 1, "甲乙"_gbk));
    ASSERT_TRUE(store.setPassword("other"));
    store.closeTable();
    EXPECT_FALSE(rowsOf(path(), "甲乙"_gbk, memo()));
    EXPECT_EQ(rowsOf(path(), "OTHER", memo()), std::nullopt);  // the key is case-sensitive
    EXPECT_EQ(rowsOf(path(), "other", memo()), expected(300));

    ASSERT_TRUE(store.openTable(path(), {}, false, 1, "other"));
    ASSERT_TRUE(store.setPassword(""));
    store.closeTable();
    EXPECT_EQ(readBytes(dir.file("t.EDB")), plain);  // back to the very same bytes
    EXPECT_EQ(rowsOf(path(), {}, memo()), expected(300));
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.EDJ")));
}

TEST_P(RekeyTest, QuestionMarkIsRefusedAndChangesNothing) {
    makeSampleTable(path(), {1, 2}, memo(), "pw");
    Bytes before = readBytes(dir.file("t.EDB"));
    Registry store;
    ASSERT_TRUE(store.openTable(path(), {}, false, 1, "pw"));
    EXPECT_FALSE(store.setPassword("?"));
    EXPECT_EQ(lastError(), -80);
    EXPECT_EQ(lastErrorMessage(), "无效的密码文本"_gbk);
    store.closeTable();
    EXPECT_EQ(readBytes(dir.file("t.EDB")), before);
}

TEST_P(RekeyTest, SortAndCopyCarryTheNewPassword) {
    makeSampleTable(path(), {3, 1, 2}, memo(), "old");
    Registry store;
    ASSERT_TRUE(store.openTable(path(), {}, false, 1, "old"));
    ASSERT_TRUE(store.goLast());
    ASSERT_TRUE(store.setPassword("new"));
    EXPECT_EQ(store.position(), 2);
    std::vector<std::string> key = {"G1"};
    ASSERT_TRUE(store.sortInto(dir.file("s"), key));
    ASSERT_TRUE(store.copyInto(dir.file("c")));
    EXPECT_EQ(store.position(), 2);
    store.closeTable();
    EXPECT_FALSE(rowsOf(dir.file("s"), "old", memo()));
    EXPECT_EQ(rowsOf(dir.file("s"), "new", memo()),
              (std::vector<Row>{{1, 1, true}, {2, 2, true}, {3, 3, true}}));
    EXPECT_EQ(rowsOf(dir.file("c"), "new", memo()),
              (std::vector<Row>{{1, 3, true}, {2, 1, true}, {3, 2, true}}));
}

TEST_P(RekeyTest, TheSamePasswordLeavesTheBytes) {
    makeSampleTable(path(), {1, 2, 3}, memo(), "same");
    Bytes before = readBytes(dir.file("t.EDB"));
    Registry store;
    ASSERT_TRUE(store.openTable(path(), {}, false, 1, "same"));
    ASSERT_TRUE(store.setPassword("same"));
    store.closeTable();
    EXPECT_EQ(readBytes(dir.file("t.EDB")), before);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutMemo, RekeyTest, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Memo" : "Plain"; });

}  // namespace
}  // namespace qinghe::recordstore::testing
