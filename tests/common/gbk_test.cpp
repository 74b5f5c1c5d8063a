#include "common/gbk.h"

#include <gtest/gtest.h>

namespace qinghe {
namespace {

using namespace literals;

TEST(Gbk, ConvertsBothWays) {
    EXPECT_EQ("加班"_gbk, std::string("\xBC\xD3\xB0\xE0"));
    EXPECT_EQ("星期日"_gbk.size(), 6u);
    EXPECT_EQ(gbk::toUtf8("\xBC\xD3\xB0\xE0"), "加班");
    EXPECT_EQ(gbk::toUtf8("abc"), "abc");
    // Full-width digits and the ideographic space have GBK forms.
    EXPECT_EQ("１"_gbk, std::string("\xA3\xB1"));
    EXPECT_EQ("　"_gbk, std::string("\xA1\xA1"));
}

TEST(Gbk, RefusesWhatHasNoGbkFormAndSaysWhere) {
    gbk::Conversion c = gbk::fromUtf8("ab😀c");
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(c.bad, "😀");
    EXPECT_EQ(c.badOffset, 2u);
    EXPECT_TRUE(c.text.empty());

    gbk::Conversion invalid = gbk::fromUtf8("a\xFF");
    EXPECT_FALSE(invalid.ok);
    EXPECT_EQ(invalid.badOffset, 1u);

    EXPECT_TRUE(gbk::fromUtf8("").ok);
}

TEST(Gbk, DamagedBytesShowAsReplacementCharacters) {
    EXPECT_EQ(gbk::toUtf8("a\xFF"
                          "b"),
              "a\uFFFDb");
    // A lead byte without its trail byte at the end.
    EXPECT_EQ(gbk::toUtf8("\xBC\xD3\xB0"), "加\uFFFD");
}

TEST(Gbk, CharLength) {
    EXPECT_EQ(gbk::charLength('a'), 1u);
    EXPECT_EQ(gbk::charLength(0x80), 1u);
    EXPECT_EQ(gbk::charLength(0x81), 2u);
    EXPECT_EQ(gbk::charLength(0xFE), 2u);
    EXPECT_EQ(gbk::charLength(0xFF), 1u);
}

}  // namespace
}  // namespace qinghe
