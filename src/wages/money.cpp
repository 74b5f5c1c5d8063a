#include "wages/money.h"

namespace qinghe::wages {
namespace {

__extension__ typedef __int128 Int128;

constexpr int kMaxPlaces = 2;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// n / d rounded half away from zero; d != 0.
Int128 roundedQuotient(Int128 n, Int128 d) {
    Int128 q = n / d;
    const Int128 r = n % d;
    const Int128 twiceRemainder = 2 * (r < 0 ? -r : r);
    if (twiceRemainder >= (d < 0 ? -d : d)) q += ((n < 0) == (d < 0)) ? 1 : -1;
    return q;
}

}  // namespace

DecimalError parseHundredths(std::string_view text, SignRule sign, Hundredths& value) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++i;
    const std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    const std::size_t intDigits = i - intStart;
    std::size_t places = 0;
    bool point = false;
    if (i < text.size() && text[i] == '.') {
        point = true;
        ++i;
        while (i + places < text.size() && isDigit(text[i + places])) ++places;
        i += places;
    }
    if (intDigits == 0 || i != text.size() || (point && places == 0)) {
        return DecimalError::NotANumber;
    }
    if (places > kMaxPlaces) return DecimalError::TooManyDecimals;
    if (negative && sign == SignRule::NonNegative) return DecimalError::Negative;

    Hundredths magnitude = 0;
    for (char c : text.substr(intStart)) {
        if (c == '.') continue;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kMaxHundredths) return DecimalError::TooLarge;
    }
    for (std::size_t p = places; p < kMaxPlaces; ++p) {
        magnitude *= 10;
        if (magnitude > kMaxHundredths) return DecimalError::TooLarge;
    }
    value = negative ? -magnitude : magnitude;
    return DecimalError::None;
}

std::string formatHundredths(Hundredths value) {
    // Through an unsigned magnitude so that even INT64_MIN formats.
    const auto magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const auto units = static_cast<std::uint64_t>(kHundredthsPerUnit);
    std::string cents = std::to_string(magnitude % units);
    if (cents.size() < kMaxPlaces) cents.insert(0, "0");
    return (value < 0 ? "-" : "") + std::to_string(magnitude / units) + "." + cents;
}

std::optional<std::int64_t> mulDivRounded(std::int64_t a, std::int64_t b, std::int64_t divisor) {
    if (divisor == 0) return std::nullopt;
    const Int128 q = roundedQuotient(Int128{a} * b, Int128{divisor});
    if (q > kMaxHundredths || q < -kMaxHundredths) return std::nullopt;
    return static_cast<std::int64_t>(q);
}

}  // namespace qinghe::wages
