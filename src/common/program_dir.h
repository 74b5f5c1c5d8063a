// The program's directory: the directory of the executable, where the
// journal, the settings file and the journal's backup live. Handlers reach it
// through their context, so that tests can use a temporary directory.
#pragma once

#include <filesystem>
#include <string_view>

namespace qinghe {

struct ProgramDir {
    std::filesystem::path path;

    // The path of `gbkName` inside the directory. The name is GBK text as the
    // program holds it ("加班.edb", "数据库备份/加班备份.edb"; "/" separates
    // directories); on disk it is UTF-8, as the user sees it.
    std::filesystem::path file(std::string_view gbkName) const;
};

}  // namespace qinghe
