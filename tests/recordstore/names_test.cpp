#include "recordstore/names.h"

#include <gtest/gtest.h>

#include "support.h"

namespace qinghe::recordstore {
namespace {

using testing::operator""_gbk;

struct PathCase {
    const char* given;
    const char* main;
    const char* aux;
    const char* title;
};

class FileNames : public ::testing::TestWithParam<PathCase> {};

TEST_P(FileNames, ExtensionAuxiliaryAndTitle) {
    const auto& c = GetParam();
    auto disk = toDiskPath(c.given);
    ASSERT_TRUE(disk);
    std::string main = withDefaultExtension(*disk);
    EXPECT_EQ(main, c.main);
    EXPECT_EQ(auxiliaryPath(main), c.aux);
    EXPECT_EQ(fileTitle(main), c.title);
}

INSTANTIATE_TEST_SUITE_P(Paths, FileNames,
                         ::testing::Values(PathCase{"jiaban", "jiaban.EDB", "jiaban.EDT", "jiaban"},
                                           PathCase{"jiaban.", "jiaban.EDB", "jiaban.EDT",
                                                    "jiaban"},
                                           PathCase{"a.b\\c", "a.b/c.EDB", "a.b/c.EDT", "c"},
                                           PathCase{"a.b/c", "a.b/c.EDB", "a.b/c.EDT", "c"},
                                           PathCase{"x.dat", "x.dat", "x.EDT", "x"},
                                           PathCase{"/d/t.edb", "/d/t.edb", "/d/t.EDT", "t"}));

TEST(FileNames, ChineseNameGetsTheDefaultExtensionInUtf8) {
    auto disk = toDiskPath("加班"_gbk);
    ASSERT_TRUE(disk);
    EXPECT_EQ(withDefaultExtension(*disk), "加班.EDB");
}

TEST(FileNames, TextThatIsNotGbkIsRefused) {
    EXPECT_FALSE(toDiskPath("\x81"));
}

struct NameCase {
    std::string name;
    bool field;  // valid as a field name (16-byte limit)
    bool alias;  // valid as an alias (no limit)
};

class NameRule : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameRule, FieldNamesAndAliases) {
    const auto& c = GetParam();
    EXPECT_EQ(isValidName(c.name, true), c.field);
    EXPECT_EQ(isValidName(c.name, false), c.alias);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, NameRule,
    ::testing::Values(NameCase{"abcdefghijklmnop", true, true},      // 16 letters
                      NameCase{"abcdefghijklmnopq", false, true},    // 17 bytes
                      NameCase{"加班加班加班加班"_gbk, true, true},  // 8 Chinese
                      NameCase{"加班加班加班加班a"_gbk, false, true}, NameCase{"_x", true, true},
                      NameCase{"1x", false, false},
                      NameCase{"１x"_gbk, false, false},  // full-width digit first
                      NameCase{"x１"_gbk, true, true}, NameCase{"Ａｚ"_gbk, true, true},
                      NameCase{"a b", false, false}, NameCase{"a，b"_gbk, false, false},
                      NameCase{"a.b", false, false}, NameCase{".a", false, false},
                      NameCase{"あア"_gbk, true, true}, NameCase{"", false, false},
                      NameCase{"\xA9\x60", true, true}, NameCase{"a\xB0", false, false}));

TEST(Names, CompareWithoutLetterCaseButTrailBytesExactly) {
    EXPECT_TRUE(sameName("Field", "fIELD"));
    EXPECT_FALSE(sameName("Field", "Fields"));
    // 0x81 0x61 and 0x81 0x41 are different double-byte characters.
    EXPECT_FALSE(sameName("\x81\x61", "\x81\x41"));
    EXPECT_EQ(foldName("a\x81\x61z"), "A\x81\x61Z");
}

}  // namespace
}  // namespace qinghe::recordstore
