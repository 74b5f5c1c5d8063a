// The person's own arrangements file, "放假安排.txt" in the data folder beside
// the journal: the years it lists replace those of the built-in list and add
// those the list lacks (format and rules in wages/arrangements.h).
//
// A file that cannot be read, is larger than kMaxArrangementsFileBytes or
// has a bad line is ignored whole (never half a year): the built-in list
// stays, and the problem says why so that the front end can tell the person.
// No file at all is no problem. The name is found without regard to the
// letter case of its extension.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "recordstore/file_system.h"
#include "wages/arrangements.h"

namespace qinghe::journal {

// The name on disk (UTF-8).
inline constexpr char kArrangementsFileName[] = "放假安排.txt";
inline constexpr std::int64_t kMaxArrangementsFileBytes = 1 << 20;

struct ArrangementsProblem {
    enum class Kind { Unreadable, TooLarge, BadLine };
    Kind kind = Kind::Unreadable;
    std::string path;                 // the file (UTF-8)
    int error = 0;                    // Unreadable: the errno of the failed call
    wages::ArrangementError badLine;  // BadLine: the line and why
};

struct LoadedArrangements {
    // The built-in list, with the person's years when their file was used.
    wages::Arrangements list;
    std::optional<ArrangementsProblem> problem;  // why their file was ignored
};

LoadedArrangements loadArrangements(recordstore::FileSystem& fs,
                                    const std::filesystem::path& dataFolder);

}  // namespace qinghe::journal
