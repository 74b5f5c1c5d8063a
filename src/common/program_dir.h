// The program's directory: the data folder where the journal (加班.edb), the
// settings file (配置项目.ini) and the journal's backup (数据库备份/加班备份.edb)
// live. The window and qinghe-cli find it with the same function,
// programDir(); handlers reach it through their context, so that tests use a
// temporary folder.
//
// Where it is. An installed program cannot write beside itself, and a program
// run from a build folder would lose its journal with the next clean build,
// so the data folder is the user's: $XDG_DATA_HOME/qinghe, or
// ~/.local/share/qinghe when XDG_DATA_HOME is unset, empty or relative. The
// program runs portably, with its files beside the executable, when a file
// named "portable" or a journal "加班.edb" (either name in any letter case)
// already stands there. Inside the folder the names are the same either way.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qinghe {

struct ProgramDir {
    std::filesystem::path path;

    // The path of `gbkName` inside the directory. The name is GBK text as the
    // program holds it ("加班.edb", "数据库备份/加班备份.edb"; "/" separates
    // directories); on disk it is UTF-8, as the user sees it.
    std::filesystem::path file(std::string_view gbkName) const;
};

// The folder of the running executable; empty when the system does not say.
std::filesystem::path executableDir();

// The rule above, for an executable in `executableDir` and the values of
// XDG_DATA_HOME and HOME (nullptr: unset). Without any home (HOME unset or
// empty and no home in the password database) the executable's folder is
// used.
ProgramDir chooseProgramDir(const std::filesystem::path& executableDir, const char* xdgDataHome,
                            const char* home);

// The program's directory of this process: chooseProgramDir for this
// executable and this environment. It may not exist yet; see
// createProgramDir.
ProgramDir programDir();

// Creates the directory, with its parents, when it does not exist. Returns
// nullopt when it exists afterwards, else a message for the user (UTF-8), for
// example "无法创建数据文件夹 /home/li/.local/share/qinghe：Permission denied".
std::optional<std::string> createProgramDir(const ProgramDir& dir);

}  // namespace qinghe
