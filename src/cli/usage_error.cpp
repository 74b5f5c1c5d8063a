#include "cli/usage_error.h"

#include "common/gbk.h"

namespace qinghe::cli {

std::string folderArgument(const std::string& dir) {
    if (dir.empty()) throw UsageError{"--dir needs a folder, not the empty name"};
    if (dir.find('\\') != std::string::npos) {
        throw UsageError{"--dir '" + dir +
                         "': a folder whose name holds '\\' cannot hold the journal"};
    }
    return dir;
}

std::string gbkArgument(const std::string& utf8, const char* what) {
    gbk::Conversion c = gbk::fromUtf8(utf8);
    if (!c.ok) {
        throw UsageError{std::string(what) + " has a character without a GBK form: " + c.bad};
    }
    return std::move(c.text);
}

}  // namespace qinghe::cli
