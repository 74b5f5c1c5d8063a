#include "wages/money.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace qinghe::wages {
namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

TEST(Money, ParsesTwoPlaceDecimalsAndNothingElse) {
    const struct {
        const char* text;
        SignRule sign;
        DecimalError error;
        Hundredths value;
    } cases[] = {
        {"0", SignRule::NonNegative, DecimalError::None, 0},
        {"30000", SignRule::NonNegative, DecimalError::None, 3000000},
        {"4500.5", SignRule::NonNegative, DecimalError::None, 450050},
        {"0.05", SignRule::NonNegative, DecimalError::None, 5},
        {"007.10", SignRule::NonNegative, DecimalError::None, 710},
        {"999999999999.99", SignRule::NonNegative, DecimalError::None, kMaxHundredths},
        {"-12.34", SignRule::Any, DecimalError::None, -1234},
        {"-0", SignRule::Any, DecimalError::None, 0},
        {"", SignRule::Any, DecimalError::NotANumber, 0},
        {"-", SignRule::Any, DecimalError::NotANumber, 0},
        {"1.", SignRule::Any, DecimalError::NotANumber, 0},
        {".5", SignRule::Any, DecimalError::NotANumber, 0},
        {"+1", SignRule::Any, DecimalError::NotANumber, 0},
        {" 1", SignRule::Any, DecimalError::NotANumber, 0},
        {"1 ", SignRule::Any, DecimalError::NotANumber, 0},
        {"1,000", SignRule::Any, DecimalError::NotANumber, 0},
        {"1.2.3", SignRule::Any, DecimalError::NotANumber, 0},
        {"1e3", SignRule::Any, DecimalError::NotANumber, 0},
        {"1.5x", SignRule::Any, DecimalError::NotANumber, 0},
        {"--1", SignRule::Any, DecimalError::NotANumber, 0},
        {"1.005", SignRule::Any, DecimalError::TooManyDecimals, 0},
        {"-1.234", SignRule::NonNegative, DecimalError::TooManyDecimals, 0},
        {"-1", SignRule::NonNegative, DecimalError::Negative, 0},
        {"-99999999999999999999", SignRule::NonNegative, DecimalError::Negative, 0},
        {"1000000000000", SignRule::Any, DecimalError::TooLarge, 0},
        {"999999999999.995", SignRule::Any, DecimalError::TooManyDecimals, 0},
        {"99999999999999999999999", SignRule::Any, DecimalError::TooLarge, 0},
        {"-1000000000000.0", SignRule::Any, DecimalError::TooLarge, 0},
    };
    for (const auto& c : cases) {
        Hundredths value = -77;
        EXPECT_EQ(parseHundredths(c.text, c.sign, value), c.error) << c.text;
        EXPECT_EQ(value, c.error == DecimalError::None ? c.value : -77) << c.text;
    }
}

TEST(Money, FormatsTwoPlaces) {
    const struct {
        Hundredths value;
        const char* text;
    } cases[] = {
        {0, "0.00"},
        {5, "0.05"},
        {-5, "-0.05"},
        {50, "0.50"},
        {123456, "1234.56"},
        {-271500, "-2715.00"},
        {std::numeric_limits<Hundredths>::min(), "-92233720368547758.08"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatHundredths(c.value), c.text) << c.value;
}

TEST(Money, RoundsHalfAwayFromZeroExactly) {
    const struct {
        std::int64_t a, b, divisor;
        std::optional<std::int64_t> result;
    } cases[] = {
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {1, -1, 2, -1},
        {-1, -1, 2, 1},
        {1, 1, -2, -1},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {-2, 1, 3, -1},
        {7, 0, 3, 0},
        {1, 1, 0, std::nullopt},
        // The product needs more than 64 bits; the quotient does not.
        {kMaxHundredths, 1000000, 1000000, kMaxHundredths},
        {kInt64Max, kInt64Max, kInt64Max, std::nullopt},
        {kMaxHundredths + 1, 1, 1, std::nullopt},
        {-kMaxHundredths - 1, 1, 1, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mulDivRounded(c.a, c.b, c.divisor), c.result)
            << c.a << " x " << c.b << " / " << c.divisor;
    }
    // 3 % of half a yuan is 1.5 fen; of 16.50 yuan 49.5 fen.
    EXPECT_EQ(percentOf(50, 3), 2);
    EXPECT_EQ(percentOf(-50, 3), -2);
    EXPECT_EQ(percentOf(49, 3), 1);
    EXPECT_EQ(percentOf(1650, 3), 50);
    EXPECT_EQ(percentOf(100 * kMaxHundredths, 100), 100 * kMaxHundredths);
    EXPECT_EQ(clampHundredths(kInt64Max), kMaxHundredths);
    EXPECT_EQ(clampHundredths(-kInt64Max), -kMaxHundredths);
}

}  // namespace
}  // namespace qinghe::wages
