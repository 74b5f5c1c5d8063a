// The person's own arrangements file, "放假安排.txt" in the data folder beside
// the journal: the years it lists replace those of the built-in list and add
// those the list lacks (format and rules in wages/arrangements.h).
//
// A file that cannot be read (a FIFO or a device is not read), is larger
// than kMaxArrangementsFileBytes or has a bad line is ignored whole (never
// half a year): the built-in list stays, and the problem says why so that
// the front end can tell the person. No file at all is no problem. The name
// is found without regard to the letter case of its extension, and a link
// is followed to its target, as for every file of the folder.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "datafolder/data_folder.h"
#include "wages/arrangements.h"

namespace qinghe::datafolder {

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

LoadedArrangements loadArrangements(const DataFolder& folder);

// Why a line was refused, in words: English for qinghe-cli's messages,
// Chinese (UTF-8) for the window's, each naming what the other names.
struct FaultWords {
    wages::ArrangementFault fault;
    const char* english;
    const char* chinese;
};
const FaultWords& faultWords(wages::ArrangementFault fault);

}  // namespace qinghe::datafolder
