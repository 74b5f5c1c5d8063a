// The person's city figures file, "城市参数.txt" in the data folder beside
// the journal (format and rules in wages/city_figures.h).
//
// A file that cannot be read (a FIFO or a device is not read), is larger
// than kMaxCityFiguresFileBytes or has a bad line is ignored whole (never a
// figure of it): no city figure is known, and the problem says why so that
// the front end can tell the person. No file at all is no problem. The name
// is found without regard to the letter case of its extension, and a link is
// followed to its target, as for every file of the folder.
#pragma once

#include <optional>
#include <string>

#include "datafolder/data_folder.h"
#include "wages/city_figures.h"

namespace qinghe::datafolder {

struct CityFiguresProblem {
    enum class Kind { Unreadable, TooLarge, BadLine };
    Kind kind = Kind::Unreadable;
    std::string path;                 // the file (UTF-8)
    int error = 0;                    // Unreadable: the errno of the failed call
    wages::CityFiguresError badLine;  // BadLine: the line and why
};

struct LoadedCityFigures {
    wages::CityFigures figures;                 // empty unless the file was used
    std::optional<CityFiguresProblem> problem;  // why the file was ignored
};

LoadedCityFigures loadCityFigures(const DataFolder& folder);

}  // namespace qinghe::datafolder
