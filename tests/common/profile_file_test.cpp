#include "common/profile_file.h"

#include <gtest/gtest.h>

#include "common/gbk.h"

namespace qinghe::profile {
namespace {

using namespace literals;

std::string gbkOf(std::string_view utf8) {
    return gbk::fromUtf8(utf8).text;
}

struct Write {
    const char* section;
    const char* key;
    const char* value;
};

// A file as a person might have edited it by hand.
const std::string kHandEdited =
    "; 青禾的设置\r\n"
    "顶上=不属于任何一节\r\n"
    "[其它]\r\n"
    "正常工作时间工资=999\r\n"
    "  [ 工资总项目 ]  ; 注释\r\n"
    "  正常工作时间工资 =  2000  \r\n"
    "考核岗位津贴=\"  250 \"\r\n"
    "职务津贴='300'\r\n"
    "地区津贴=\"没有配对\r\n"
    "技能津贴=\r\n"
    "特殊岗位津贴\r\n"
    "g1加班小时数=12\r\n"
    "G1加班小时数=13\r\n"
    ";社保代扣=5\r\n"
    "夜班=夜班\r\n"
    "丄=trail byte 0x41\r\n"
    "[工资总项目]\r\n"
    "伙食费代扣=7\r\n"
    "[Pay]\n"
    "Base=1\n"
    "[乚]\n"
    "x=trail byte 0x5D\n"_gbk;

TEST(ProfileFile, ReadsHandEditedFilesAsTheirEditorsExpect) {
    struct Case {
        const char* section;
        const char* key;
        std::optional<const char*> expected;
    };
    const Case cases[] = {
        {"工资总项目", "正常工作时间工资", "2000"},  // blanks gone; not the one in [其它]
        {"工资总项目", "考核岗位津贴", "  250 "},    // quotes gone, what they held kept
        {"工资总项目", "职务津贴", "300"},
        {"工资总项目", "地区津贴", "\"没有配对"},
        {"工资总项目", "技能津贴", ""},  // an empty value is a value
        {"工资总项目", "特殊岗位津贴", std::nullopt},
        {"工资总项目", "G1加班小时数", "12"},  // case-insensitive; the first wins
        {"工资总项目", "社保代扣", std::nullopt},
        {"工资总项目", "夜班", "夜班"},
        {"工资总项目", "伙食费代扣", std::nullopt},  // only the first section of a name counts
        {"工资总项目", "乤", std::nullopt},          // differs from 丄 in a trail byte's "case"
        {"工资总项目", "丄", "trail byte 0x41"},
        {"其它", "正常工作时间工资", "999"},
        {"PAY", "base", "1"},
        {"乚", "x", "trail byte 0x5D"},  // "]" as a trail byte does not end the name
        {"工资总项目", "顶上", std::nullopt},
        {"没有这一节", "夜班", std::nullopt},
    };
    const ProfileFile file(kHandEdited);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " / " + c.key);
        const std::optional<std::string> got = file.find(gbkOf(c.section), gbkOf(c.key));
        if (c.expected) {
            ASSERT_TRUE(got.has_value());
            EXPECT_EQ(gbk::toUtf8(*got), *c.expected);
        } else {
            EXPECT_FALSE(got.has_value()) << gbk::toUtf8(*got);
        }
    }
    EXPECT_EQ(file.read("工资总项目"_gbk, "夜班班"_gbk, "白班"_gbk), "白班"_gbk);
    EXPECT_EQ(file.read("工资总项目"_gbk, "技能津贴"_gbk, "0"), "");
    EXPECT_EQ(file.bytes(), kHandEdited.substr(0, kHandEdited.find("[Pay]")) +
                                "[Pay]\r\nBase=1\r\n[乚]\r\nx=trail byte 0x5D\r\n"_gbk)
        << "unchanged apart from the line ends, which follow the first line's";
}

TEST(ProfileFile, LongValuesAreCutAtACharacterBoundary) {
    const std::string ascii(kMaxValueBytes + 1, '7');
    std::string chinese;
    while (chinese.size() <= kMaxValueBytes) chinese += "中"_gbk;
    const ProfileFile file("[s]\nascii=" + ascii + "\nchinese=" + chinese + "\n");
    EXPECT_EQ(file.find("s", "ascii"), ascii.substr(0, kMaxValueBytes));
    const std::string cut = *file.find("s", "chinese");
    EXPECT_EQ(cut.size(), kMaxValueBytes - 1) << "no half character at the end";
    EXPECT_EQ(cut, chinese.substr(0, cut.size()));
}

TEST(ProfileFile, WritesInPlaceAndKeepsEverythingElse) {
    struct Case {
        const char* before;
        std::vector<Write> writes;
        const char* after;
    };
    const Case cases[] = {
        {"",
         {{"工资总项目", "正常工作时间工资", "1820"}, {"工资总项目", "夜班", "白班"}},
         "[工资总项目]\r\n正常工作时间工资=1820\r\n夜班=白班\r\n"},
        {"; 注释\n[工资总项目]\n  职务津贴 = 5 \n未知=1\n\n[其它]\nx=1\n",
         {{"工资总项目", "职务津贴", ""},
          {"工资总项目", "夜班", "夜班"},
          {"工资总项目", "职务津贴", "6"}},
         "; 注释\n[工资总项目]\n职务津贴=6\n未知=1\n夜班=夜班\n\n[其它]\nx=1\n"},
        {"[工资总项目]\nG1加班小时数=1\ng1加班小时数=2\n",
         {{"工资总项目", "g1加班小时数", "3"}},
         "[工资总项目]\nG1加班小时数=3\ng1加班小时数=2\n"},
        {"[其它]\r\nx=1",
         {{"工资总项目", "k", "v"}},
         "[其它]\r\nx=1\r\n\r\n[工资总项目]\r\nk=v\r\n"},
        {"[工资总项目]\r\n; 只有注释\r\n",
         {{"工资总项目", "k", "v"}},
         "[工资总项目]\r\nk=v\r\n; 只有注释\r\n"},
        // Values that reading would change are quoted, so that they read back whole.
        {"",
         {{"s", "a", " 1 "},
          {"s", "b", "'x'"},
          {"s", "c", "\"y\""},
          {"s", "d", "1,820.50元"},
          {"s", "e", "x "},
          {"s", "f", "\"x'"}},
         "[s]\r\na=\" 1 \"\r\nb=\"'x'\"\r\nc=\"\"y\"\"\r\nd=1,820.50元\r\ne=\"x \"\r\nf=\"x'\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        ProfileFile file(gbkOf(c.before));
        for (const Write& w : c.writes) {
            const std::string section = gbkOf(w.section);
            const std::string key = gbkOf(w.key);
            const std::string value = gbkOf(w.value);
            ASSERT_TRUE(file.write(section, key, value));
            EXPECT_EQ(file.find(section, key), value) << "reads back as written";
        }
        EXPECT_EQ(gbk::toUtf8(file.bytes()), c.after);
    }
}

TEST(ProfileFile, RefusesWhatOneLineCannotHold) {
    const std::string before = "[s]\r\nk=1\r\n";
    const Write refused[] = {
        {"", "k", "v"},   {"s]", "k", "v"},  {" s", "k", "v"},   {"s\n", "k", "v"},
        {"s", "", "v"},   {"s", "a=b", "v"}, {"s", " k", "v"},   {"s", "k ", "v"},
        {"s", ";k", "v"}, {"s", "[k", "v"},  {"s", "k", "1\n2"}, {"s", "k", "1\r2"},
    };
    ProfileFile file(before);
    for (const Write& w : refused) {
        EXPECT_FALSE(file.write(w.section, w.key, w.value)) << w.section << "/" << w.key;
    }
    EXPECT_EQ(file.bytes(), before);
}

}  // namespace
}  // namespace qinghe::profile
