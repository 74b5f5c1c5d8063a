// Where the data folder is: the folder where the journal (加班.edb), the
// settings file (配置项目.ini) and the journal's backup
// (数据库备份/加班备份.edb) live. The window and qinghe-cli find it with the
// same function, dataFolderPath(); handlers reach it through their context,
// so that tests use a temporary folder.
//
// An installed program cannot write beside itself, and a program run from a
// build folder would lose its journal with the next clean build, so the data
// folder is the user's: $XDG_DATA_HOME/qinghe, or ~/.local/share/qinghe when
// XDG_DATA_HOME is unset, empty or relative. The program runs portably, with
// its files beside the executable, when a file named "portable" or a journal
// "加班.edb" (either name in any letter case) already stands there. Inside
// the folder the names are the same either way.
//
// Paths are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace qinghe::datafolder {

// The folder of the running executable; empty when the system does not say.
std::string executableDir(platform::FileSystem& fs = platform::posixFileSystem());

// The rule above, for an executable in `executableDir` and the values of
// XDG_DATA_HOME and HOME (nullptr: unset). Without any home (HOME unset or
// empty and no home in the password database) the executable's folder is
// used.
std::string chooseDataFolder(const std::string& executableDir, const char* xdgDataHome,
                             const char* home,
                             platform::FileSystem& fs = platform::posixFileSystem());

// The data folder of this process: chooseDataFolder for this executable and
// this environment. It may not exist yet; see createDataFolder.
std::string dataFolderPath();

// Creates the folder, with its parents, when it does not exist; what it
// creates is private to the person (platform/file_system.h). Returns nullopt
// when it exists afterwards, else a message for the user (UTF-8), for
// example "无法创建数据文件夹 /home/li/.local/share/qinghe：指定文件不能被访问"; the reason is
// the record store's message of the system error (recordstore/errors.h).
// `made`, when given, receives the folders it made, parents first (also
// when it failed part-way).
std::optional<std::string> createDataFolder(const std::string& path,
                                            platform::FileSystem& fs = platform::posixFileSystem(),
                                            std::vector<std::string>* made = nullptr);

// Removes the folders that createDataFolder made (`made`), the innermost
// first, as far as they are still empty: what a first use that failed
// leaves behind is nothing.
void removeMadeFolders(const std::vector<std::string>& made,
                       platform::FileSystem& fs = platform::posixFileSystem());

}  // namespace qinghe::datafolder
