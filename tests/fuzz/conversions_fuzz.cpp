// Fuzz target for the number conversions. Besides running them on any bytes
// under the sanitizers, it holds them against the C library in the C locale:
// textToNumber must give, bit for bit, what strtod gives for the folded text
// (where the text is in the decimal syntax that both read), textToInteger
// what strtol gives clamped to 32 bits, and numberToText must read back to
// within its 13 significant digits.
#include <locale.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "wages/conversions.h"

namespace {

using namespace qinghe::wages;

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// strtod also reads hexadecimal numbers, infinities and NaNs, which the
// program does not; those texts are not compared.
bool strtodReadsMore(const std::string& folded) {
    std::size_t i = 0;
    while (i < folded.size() && isCSpace(folded[i])) ++i;
    if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) ++i;
    if (i >= folded.size()) return false;
    const char c = folded[i];
    if (c == 'i' || c == 'I' || c == 'n' || c == 'N') return true;
    return c == '0' && i + 1 < folded.size() && (folded[i + 1] == 'x' || folded[i + 1] == 'X');
}

[[noreturn]] void fail() {
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string folded = foldFullWidth(text);
    if (folded.size() > text.size()) fail();  // folding never lengthens

    const double value = textToNumber(text);
    if (!strtodReadsMore(folded)) {
        const double expected = strtod_l(folded.c_str(), nullptr, cLocale);
        if (std::memcmp(&value, &expected, sizeof value) != 0) fail();
    }

    errno = 0;
    const long wide = strtol_l(folded.c_str(), nullptr, 10, cLocale);
    const long clamped = wide > INT_MAX ? INT_MAX : wide < INT_MIN ? INT_MIN : wide;
    if (textToInteger(text) != clamped) fail();

    const std::string shown = numberToText(value);
    if (std::isfinite(value)) {
        const double back = textToNumber(shown);
        if (std::fabs(back - value) > std::fabs(value) * 1e-12) fail();
        const double rounded = roundHalfAway(value, 2);
        if (std::fabs(value) < 1e300 && !std::isfinite(rounded)) fail();
    } else if (shown != kNotComputableText) {
        fail();
    }
    return 0;
}
