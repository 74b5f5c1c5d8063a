#include "datafolder/city_figures_file.h"

#include <cerrno>
#include <variant>

namespace qinghe::datafolder {

LoadedCityFigures loadCityFigures(const DataFolder& folder) {
    using Problem = CityFiguresProblem;
    LoadedCityFigures loaded;
    const std::string path = folder.cityFiguresFile();
    std::string bytes;
    if (const int r = folder.readCityFigures(bytes); r < 0) {
        if (r == -EFBIG) {
            loaded.problem = Problem{Problem::Kind::TooLarge, path, 0, {}};
        } else if (r != -ENOENT) {
            loaded.problem = Problem{Problem::Kind::Unreadable, path, -r, {}};
        }
        return loaded;
    }
    auto parsed = wages::CityFigures::parse(bytes);
    if (auto* bad = std::get_if<wages::CityFiguresError>(&parsed)) {
        loaded.problem = Problem{Problem::Kind::BadLine, path, 0, *bad};
        return loaded;
    }
    loaded.figures = std::move(std::get<wages::CityFigures>(parsed));
    return loaded;
}

}  // namespace qinghe::datafolder
