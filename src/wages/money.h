// Exact decimals with two places: money in whole fen, and the other figures
// of today's pay calculation (hours, working days, the sick-pay ratio) in
// hundredths, all 64-bit integers. No double enters this path: a value is
// either what was typed, to the hundredth, or refused.
//
// Magnitudes are bounded by kMaxHundredths, which the parser enforces and
// the calculations clamp or check, so that sums of a year's figures and their
// products with a rate never overflow.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qinghe::wages {

// A decimal number times 100, exactly: 12.34 is 1234.
using Hundredths = std::int64_t;
// An amount of money in fen (0.01 yuan).
using Fen = Hundredths;

inline constexpr Hundredths kHundredthsPerUnit = 100;
// The largest magnitude accepted: 999,999,999,999.99.
inline constexpr Hundredths kMaxHundredths = 99'999'999'999'999;

enum class SignRule { NonNegative, Any };

// Why a text is not a two-place decimal (None: it is).
enum class DecimalError {
    None,
    NotANumber,       // anything but [-]digits[.d or .dd]: empty, "1.", ".5", "+1", " 1", "1,000"
    TooManyDecimals,  // "1.005"
    Negative,         // a leading "-" where SignRule::NonNegative
    TooLarge,         // magnitude above kMaxHundredths
};

// Reads `text` as an optional "-" (SignRule::Any only), one or more ASCII
// digits and, optionally, "." with one or two digits. Nothing else may
// precede or follow. On success sets `value` (-0 is 0) and returns None;
// otherwise leaves `value` alone. The first rule broken in the order of
// DecimalError is reported, so "1.5x" is NotANumber, not TooManyDecimals.
DecimalError parseHundredths(std::string_view text, SignRule sign, Hundredths& value);

// The decimal with exactly two places, "-" for a negative value, no
// separators: 123456 -> "1234.56", -5 -> "-0.05", 0 -> "0.00". ASCII.
std::string formatHundredths(Hundredths value);

// a x b / divisor rounded half away from zero to a whole number, computed
// exactly (the product is not bounded by 64 bits). Nothing when divisor is 0
// or the magnitude of the result is above kMaxHundredths.
std::optional<std::int64_t> mulDivRounded(std::int64_t a, std::int64_t b, std::int64_t divisor);

// amount x percent / 100, rounded half away from zero to the fen. `amount`
// within ±(100 x kMaxHundredths) and 0 <= percent <= 100 never overflow.
// Inline, as the clamp below: a year's withholding calls them for each row.
inline Fen percentOf(Fen amount, int percent) {
    const Fen product = amount * percent;
    const Fen remainder = product % 100;  // takes the sign of the product
    return product / 100 + (remainder >= 50 ? 1 : 0) - (remainder <= -50 ? 1 : 0);
}

// `value` brought within ±kMaxHundredths.
inline Hundredths clampHundredths(Hundredths value) {
    return std::clamp(value, -kMaxHundredths, kMaxHundredths);
}

}  // namespace qinghe::wages
