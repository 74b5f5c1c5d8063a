#include "wages/conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "common/gbk.h"

namespace qinghe::wages {
namespace {

using namespace literals;

struct FoldCase {
    std::string in;
    std::string out;
};

TEST(FoldFullWidth, MapsTheFullWidthFormsAndNothingElse) {
    const FoldCase cases[] = {
        {"１８２０"_gbk, "1820"},
        {"－１２．５ｅ＋３"_gbk, "-12.5e+3"},
        {"ＡＺａｚ"_gbk, "AZaz"},
        {"　7"_gbk, " 7"},              // ideographic space
        {"～"_gbk, "~"},                // full-width wave dash 0xA1 0xAB
        {"☆★"_gbk, "**"},               // white and black star
        {"12元"_gbk, "12" + "元"_gbk},  // other characters pass unchanged
        {"、。"_gbk, "、。"_gbk},       // row 1 characters other than the four
        {"", ""},
        {"12\xB0", "12"},  // a lead byte without its second byte ends the text
        {"\xA3", ""},
        {"a\x80z", "a\x80z"},  // single bytes outside the lead range stay
    };
    for (const auto& c : cases) {
        EXPECT_EQ(foldFullWidth(c.in), c.out) << gbk::toUtf8(c.in);
    }
}

struct NumberCase {
    std::string text;  // GBK
    double value;
};

TEST(TextToNumber, ReadsTheLongestLeadingNumberAsAtofDoes) {
    const double inf = std::numeric_limits<double>::infinity();
    const NumberCase cases[] = {
        {"", 0.0},
        {"1820", 1820.0},
        {"１８２０"_gbk, 1820.0},
        {"1,820", 1.0},  // a thousands separator ends the number
        {"12元"_gbk, 12.0},
        {"175.6", 175.6},
        {"0.1", 0.1},
        {"00012.50", 12.5},
        {"  \t\n-3.5e2x", -350.0},
        {"　１２．５"_gbk, 12.5},
        {"+.5", 0.5},
        {"5.", 5.0},
        {"2E-3", 0.002},
        {"1e", 1.0},  // an exponent without digits belongs to the trailing text
        {"1e+", 1.0},
        {"1e+x", 1.0},
        {".", 0.0},
        {"-", 0.0},
        {"+-1", 0.0},
        {"abc", 0.0},
        {"inf", 0.0},  // only decimal numbers are read
        {"nan", 0.0},
        {"0x1A", 0.0},
        {"- 1", 0.0},
        {"1 2", 1.0},
        {"1e999", inf},
        {"-1e999", -inf},
        {"1e99999999999999999999", inf},
        {"1e-999", 0.0},
        {"1e0000000000000000000000002", 100.0},
        {"0.000000000000000000000000000001e30", 1.0},
        {"1.7976931348623157e308", DBL_MAX},
        {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"9007199254740993", 9007199254740992.0},  // ties round to even, as strtod does
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textToNumber(c.text), c.value) << gbk::toUtf8(c.text);
    }
    EXPECT_TRUE(std::signbit(textToNumber("-0")));
    EXPECT_TRUE(std::signbit(textToNumber("-1e-999")));
}

TEST(TextToNumber, LongTextsStayExact) {
    std::string zeros(5000, '0');
    EXPECT_EQ(textToNumber("0." + zeros + "1e5001"), 1.0);
    EXPECT_EQ(textToNumber(zeros + "42"), 42.0);
    EXPECT_EQ(textToNumber("1" + zeros), std::numeric_limits<double>::infinity());
}

struct IntegerCase {
    std::string text;
    int value;
};

TEST(TextToInteger, ReadsTheLeadingWholeNumberAsAtoiDoes) {
    const IntegerCase cases[] = {
        {"", 0},
        {"8", 8},
        {"１２"_gbk, 12},
        {"  ４小时"_gbk, 4},
        {"-8", -8},
        {"+7x", 7},
        {"3.9", 3},
        {"1e3", 1},
        {"abc", 0},
        {"休息"_gbk, 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},  // beyond 32 bits: clamped
        {"-99999999999999999999999", INT_MIN},
        {"99999999999999999999999", INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textToInteger(c.text), c.value) << gbk::toUtf8(c.text);
    }
}

struct TextCase {
    double value;
    std::string text;
};

TEST(NumberToText, ThirteenSignificantDigitsAndWholeNumbersPlain) {
    const TextCase cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {2520.0, "2520"},
        {-2520.0, "-2520"},
        {1944.4, "1944.4"},
        {65.016, "65.016"},
        {17.415, "17.415"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},  // 0.30000000000000004 to 13 digits
        {1.0 / 3.0, "0.3333333333333"},
        {2.0 / 3.0, "0.6666666666667"},
        {1e-5, "1e-05"},
        {123456.789, "123456.789"},
        {1e14, "100000000000000"},
        {123456789012345.6, "1.234567890123e+14"},
        {9007199254740993.0, "9007199254740992"},
        {1e300, "1e+300"},
        {9223372036854775808.0, "9.223372036855e+18"},  // 2^63: beyond plain decimal
        {-9223372036854774784.0, "-9223372036854774784"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(numberToText(c.value), c.text) << c.value;
    }
}

TEST(NumberToText, NonFiniteValuesReadAsNotComputable) {
    EXPECT_EQ(std::string(kNotComputableText), "无法计算"_gbk);
    EXPECT_EQ(numberToText(std::numeric_limits<double>::infinity()), kNotComputableText);
    EXPECT_EQ(numberToText(-std::numeric_limits<double>::infinity()), kNotComputableText);
    EXPECT_EQ(numberToText(std::nan("")), kNotComputableText);
}

struct RoundCase {
    double x;
    int places;
    double rounded;
};

TEST(RoundHalfAway, HalvesGoAwayFromZeroWithTheNudge) {
    const RoundCase cases[] = {
        {1.005, 2, 1.01},  // 1.00499999999999989... in binary
        {2.675, 2, 2.68},
        {-2.675, 2, -2.68},
        {10.03 * 1.5, 2, 15.05},  // the G1 rate of hourly rate 10.03
        {11.61 * 1.5, 2, 17.42},
        {1.004, 2, 1.0},
        {1.0049, 2, 1.0},
        {92.88, 2, 92.88},
        {2520.0 / 21.75 / 8.0, 2, 14.48},
        {2.5, 0, 3.0},
        {-2.5, 0, -3.0},
        {0.4999999, 0, 0.0},
        {0.49999999999999994, 0, 1.0},  // within the nudge of a half
        {15.0, -1, 20.0},
        {14.0, -1, 10.0},
        {-250.0, -2, -300.0},
        {0.0, 2, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundHalfAway(c.x, c.places), c.rounded) << c.x << " to " << c.places;
    }
}

TEST(RoundHalfAway, ZeroAndNonFiniteValuesPassThrough) {
    EXPECT_TRUE(std::signbit(roundHalfAway(-0.0, 2)));
    EXPECT_TRUE(std::isnan(roundHalfAway(std::nan(""), 2)));
    EXPECT_EQ(roundHalfAway(std::numeric_limits<double>::infinity(), 2),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(roundHalfAway(-std::numeric_limits<double>::infinity(), 2),
              -std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace qinghe::wages
