// GBK text, the program's internal encoding.
//
// Inside the program every text is a std::string of GBK bytes (code page 936:
// one byte for ASCII, two bytes for a Chinese character), and every length
// and limit counts those bytes. Text is converted only at the edges: UTF-8 for
// the terminal, the widgets and file names on disk.
//
// Converting to GBK can fail: a character with no GBK form is never replaced
// silently. fromUtf8 reports the first such character so that the caller can
// tell the user.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qinghe::gbk {

struct Conversion {
    std::string text;           // the GBK bytes, when ok
    bool ok = false;            // false: `bad` has no GBK form (or the input is not UTF-8)
    std::string bad;            // the offending character, in UTF-8
    std::size_t badOffset = 0;  // its byte offset in the input
};

// UTF-8 to GBK. Never alters a character: fails on the first one that has no
// GBK form, or on a byte sequence that is not UTF-8.
Conversion fromUtf8(std::string_view utf8);

// GBK to UTF-8. Total: a byte sequence that is not GBK (a lone lead byte, an
// unassigned code) becomes U+FFFD for each offending byte, so that a damaged
// file can still be shown.
std::string toUtf8(std::string_view gbk);

// Length in bytes of the GBK character that starts with `lead`: 2 for a lead
// byte 0x81..0xFE, else 1.
inline std::size_t charLength(unsigned char lead) {
    return lead >= 0x81 && lead <= 0xFE ? 2 : 1;
}

}  // namespace qinghe::gbk

namespace qinghe::literals {

// "休息"_gbk: a UTF-8 source literal as GBK bytes. The literal must have a GBK
// form; one that has none is a programming error and aborts.
std::string operator""_gbk(const char* utf8, std::size_t length);

}  // namespace qinghe::literals
