#include "datafolder/arrangements_file.h"

#include <cerrno>
#include <variant>

namespace qinghe::datafolder {

LoadedArrangements loadArrangements(const DataFolder& folder) {
    using Problem = ArrangementsProblem;
    LoadedArrangements loaded{wages::Arrangements::builtIn(), std::nullopt};
    const std::string path = folder.arrangementsFile();
    std::string bytes;
    if (const int r = folder.readArrangements(bytes); r < 0) {
        if (r == -EFBIG) {
            loaded.problem = Problem{Problem::Kind::TooLarge, path, 0, {}};
        } else if (r != -ENOENT) {
            loaded.problem = Problem{Problem::Kind::Unreadable, path, -r, {}};
        }
        return loaded;
    }
    auto parsed = wages::Arrangements::parse(bytes);
    if (auto* bad = std::get_if<wages::ArrangementError>(&parsed)) {
        loaded.problem = Problem{Problem::Kind::BadLine, path, 0, *bad};
        return loaded;
    }
    loaded.list = loaded.list.overriddenBy(std::get<wages::Arrangements>(parsed));
    return loaded;
}

}  // namespace qinghe::datafolder
