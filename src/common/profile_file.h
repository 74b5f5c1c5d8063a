// A profile (INI) file in memory: sections "[name]" holding lines
// "key=value", GBK text, read and changed the way a person who edits such
// files by hand expects.
//
// Reading:
//   - Section and key names compare without regard to the case of ASCII
//     letters (the bytes of double-byte characters compare exactly).
//   - Blanks (spaces, tabs) around section names, keys and values are not
//     part of them; one pair of matching quotes ('...' or "...") around a
//     value is removed.
//   - Of two sections, or two keys in a section, with the same name the first
//     counts.
//   - Lines starting with ";" are comments; lines that are neither a section
//     header nor key=value, and keys before the first section, belong to no
//     key.
//   - A key present with nothing after "=" has the empty value; a default
//     applies only to a key that is missing.
//   - A value is returned with at most kMaxValueBytes bytes, cut at a
//     character boundary.
//
// Writing keeps every other line as it was (unknown sections and keys,
// comments, blank lines): an existing key's line is replaced in place (with
// the file's spelling of the key), a new key goes after the last key of its
// section, a new section at the end of the file. A value that reading would
// change (surrounding blanks, a pair of surrounding quotes) is written in
// double quotes, so that what is written reads back byte for byte.
//
// Lines end as the file's first line does (CR LF in a new file); a LF alone
// ends a line too.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qinghe::profile {

inline constexpr std::size_t kMaxValueBytes = 10239;

class ProfileFile {
  public:
    // An empty file.
    ProfileFile() = default;
    // The file with these bytes.
    explicit ProfileFile(std::string_view bytes);

    // The value of `key` in `section`, or nullopt when the section or the key
    // is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const {
        return find(section, key).value_or(std::string(fallback));
    }

    // Sets `key` in `section` to `value`, creating the section or the key
    // when missing. False, and nothing changed, for what one line cannot
    // hold: an empty section or key name, a line break in any of the three,
    // "]" in the section name, "=" in the key, a key that starts with "[" or
    // ";" or has blanks around it.
    bool write(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes, every line ended.
    std::string bytes() const;

  private:
    struct Place;
    Place locate(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;  // without their line ends
    std::string lineEnd_ = "\r\n";
};

}  // namespace qinghe::profile
