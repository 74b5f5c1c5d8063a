#include "wages/conversions.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

#include "common/gbk.h"

namespace qinghe::wages {
namespace {

// GBK bytes of the full-width forms that fold to ASCII.
constexpr unsigned char kFullWidthLead = 0xA3;  // row 3: full-width ASCII
constexpr unsigned char kFullWidthFirst = 0xA1;
constexpr unsigned char kFullWidthLast = 0xFE;
constexpr unsigned char kFullWidthShift = 0x80;  // 0xA3 0xB1 "１" -> 0x31 "1"
constexpr unsigned char kSymbolLead = 0xA1;      // row 1: punctuation and symbols
constexpr unsigned char kIdeographicSpace = 0xA1;
constexpr unsigned char kWaveDash = 0xAB;
constexpr unsigned char kWhiteStar = 0xEE;
constexpr unsigned char kBlackStar = 0xEF;

// Added to a scaled magnitude before it is split into whole and fraction.
constexpr double kRoundingNudge = 0.000000000001;

// Significant digits of numberToText.
constexpr int kShownDigits = 13;
// Whole numbers below this magnitude (2^63) print as plain decimal.
constexpr double kPlainWholeLimit = 9223372036854775808.0;

// Decimal exponents beyond these certainly overflow or underflow a double
// (its range is about 1e-324 to 1e308), whatever the digits.
constexpr long kOverflowExponent = 400;
constexpr long kUnderflowExponent = -400;
// An exponent is read with saturation at this magnitude.
constexpr long kExponentCap = 1000000000;

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view skipSpace(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isCSpace(s[i])) ++i;
    return s.substr(i);
}

// Reads an optional sign; returns true for "-".
bool takeSign(std::string_view& s) {
    if (s.empty() || (s[0] != '+' && s[0] != '-')) return false;
    bool negative = s[0] == '-';
    s.remove_prefix(1);
    return negative;
}

std::string_view takeDigits(std::string_view& s) {
    std::size_t n = 0;
    while (n < s.size() && isDigit(s[n])) ++n;
    std::string_view digits = s.substr(0, n);
    s.remove_prefix(n);
    return digits;
}

// The exponent part "e[+-]digits" when one follows; 0 when none does (the
// "e" then belongs to the trailing text).
long takeExponent(std::string_view& s) {
    if (s.empty() || (s[0] != 'e' && s[0] != 'E')) return 0;
    std::string_view rest = s.substr(1);
    bool negative = takeSign(rest);
    std::string_view digits = takeDigits(rest);
    if (digits.empty()) return 0;
    s = rest;
    long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > kExponentCap) {
            value = kExponentCap;
            break;
        }
    }
    return negative ? -value : value;
}

double halfUp(double magnitude) {
    double whole = 0.0;
    double fraction = std::modf(magnitude + kRoundingNudge, &whole);
    return fraction >= 0.5 ? whole + 1.0 : whole;
}

}  // namespace

std::string foldFullWidth(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size();) {
        auto lead = static_cast<unsigned char>(gbk[i]);
        if (gbk::charLength(lead) == 1) {
            out += gbk[i++];
            continue;
        }
        if (i + 1 >= gbk.size()) break;  // a lead byte without its second byte ends the text
        auto trail = static_cast<unsigned char>(gbk[i + 1]);
        if (lead == kFullWidthLead && trail >= kFullWidthFirst && trail <= kFullWidthLast) {
            out += static_cast<char>(trail - kFullWidthShift);
        } else if (lead == kSymbolLead && trail == kIdeographicSpace) {
            out += ' ';
        } else if (lead == kSymbolLead && trail == kWaveDash) {
            out += '~';
        } else if (lead == kSymbolLead && (trail == kWhiteStar || trail == kBlackStar)) {
            out += '*';
        } else {
            out.append(gbk.substr(i, 2));
        }
        i += 2;
    }
    return out;
}

double textToNumber(std::string_view gbk) {
    const std::string folded = foldFullWidth(gbk);
    std::string_view s = skipSpace(folded);
    const bool negative = takeSign(s);
    std::string_view whole = takeDigits(s);
    std::string_view fraction;
    if (!s.empty() && s[0] == '.') {
        s.remove_prefix(1);
        fraction = takeDigits(s);
    }
    if (whole.empty() && fraction.empty()) return 0.0;
    const long exponent = takeExponent(s);

    // Rewrite the number as 0.DIGITS x 10^scale with no leading zeros, so
    // that the exponent handed to the parser stays small whatever the text.
    while (!whole.empty() && whole[0] == '0') whole.remove_prefix(1);
    long scale = exponent + static_cast<long>(whole.size());
    std::string digits(whole);
    if (whole.empty()) {
        std::size_t zeros = 0;
        while (zeros < fraction.size() && fraction[zeros] == '0') ++zeros;
        scale -= static_cast<long>(zeros);
        fraction.remove_prefix(zeros);
    }
    digits += fraction;
    double value = 0.0;  // also when there are no digits, or the magnitude is below the range
    if (!digits.empty() && scale > kOverflowExponent) {
        value = HUGE_VAL;
    } else if (!digits.empty() && scale >= kUnderflowExponent) {
        std::string text = "0." + digits + "e" + std::to_string(scale);
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc::result_out_of_range) value = scale > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

int textToInteger(std::string_view gbk) {
    const std::string folded = foldFullWidth(gbk);
    std::string_view s = skipSpace(folded);
    const bool negative = takeSign(s);
    // Accumulated as a negative number, whose range reaches INT_MIN.
    std::int64_t value = 0;
    for (char c : takeDigits(s)) {
        value = value * 10 - (c - '0');
        if (value < INT_MIN) {
            value = INT_MIN - std::int64_t{1};
            break;
        }
    }
    if (!negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string numberToText(double value) {
    if (!std::isfinite(value)) return std::string(kNotComputableText);
    if (value == std::trunc(value) && std::fabs(value) < kPlainWholeLimit) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, kShownDigits);
    return std::string(buffer, end);
}

double roundHalfAway(double x, int n) {
    if (x == 0.0) return x;
    const double magnitude = std::fabs(x);
    double rounded = 0.0;
    if (n > 0) {
        const double scale = std::pow(10.0, n);
        rounded = halfUp(magnitude * scale) / scale;
    } else if (n < 0) {
        const double scale = std::pow(10.0, -n);
        rounded = halfUp(magnitude / scale) * scale;
    } else {
        rounded = halfUp(magnitude);
    }
    return std::copysign(rounded, x);
}

}  // namespace qinghe::wages
