// The number conversions shared by every calculation of the program.
//
// Box texts are GBK bytes (see common/gbk.h). A text becomes a number by the
// same two steps everywhere: the full-width forms a Chinese input method
// produces (＂１２．５＂, the ideographic space) are folded to ASCII, then the
// longest leading decimal number is read as the C library's atof/atoi read
// it. A number becomes text with at most 13 significant digits, a whole number
// as plain decimal. All functions are pure and total: any text gives a value,
// any double gives a text.
#pragma once

#include <string>
#include <string_view>

namespace qinghe::wages {

// Folds the full-width forms of a GBK text to ASCII, character by character:
//   0xA3 0xA1..0xFE  ->  the single byte (second byte - 0x80): digits, point,
//                        signs and letters;
//   0xA1 0xA1        ->  " " (ideographic space);
//   0xA1 0xAB        ->  "~" (full-width wave dash);
//   0xA1 0xEE, 0xEF  ->  "*" (white and black star).
// Every other character passes unchanged. A lead byte (0x81..0xFE) with no
// second byte ends the text: it and nothing after it is kept.
std::string foldFullWidth(std::string_view gbk);

// The number at the start of a box's text: the folded text, with leading
// white space skipped, read as an optional sign, digits with an optional "."
// and an optional exponent ("e" or "E", optional sign, digits). The longest
// such prefix gives the value, correctly rounded, independent of the process
// locale; trailing text is ignored ("12元" is 12, "1,820" is 1). Text without
// such a prefix (empty, "abc", ".", "-", "inf") is 0. A magnitude beyond the
// double range is +-infinity, one below it +-0, as atof gives them.
double textToNumber(std::string_view gbk);

// The whole number at the start of a box's text: the folded text, with
// leading white space skipped, read as an optional sign and decimal digits
// (atoi). Text without digits is 0. A value beyond the 32-bit range is
// clamped to INT_MIN or INT_MAX instead of being undefined.
int textToInteger(std::string_view gbk);

// The text of a number, as shown in every label and written into boxes:
//   - a whole number of magnitude below 2^63 as plain decimal ("2520",
//     "100000000000000"; -0 shows as "0");
//   - any other finite value as printf's "%.13g" with "." as the point
//     ("1944.4", "65.016", "1e-05", "1.5e+300");
//   - a non-finite value (a division by a working-day count of 0, an
//     overflow) as kNotComputableText, so that a person reads "cannot be
//     calculated" instead of "inf" or "nan".
// GBK text.
std::string numberToText(double value);

// Shown in place of a non-finite number: "无法计算" (cannot be calculated), GBK.
inline constexpr std::string_view kNotComputableText = "\xCE\xDE\xB7\xA8\xBC\xC6\xCB\xE3";

// x rounded to n decimal places (n < 0: to tens, hundreds, ...), half away
// from zero. 1e-12 is added to the scaled magnitude before it is split, which
// lifts values that sit a hair below a half in binary (1.005 -> 1.01,
// 2.675 -> 2.68, -2.675 -> -2.68). 0 (and -0) is returned unchanged, NaN
// stays NaN, infinities stay infinite.
double roundHalfAway(double x, int n);

}  // namespace qinghe::wages
