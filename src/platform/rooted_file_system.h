// A file system whose current directory is a folder of its own: relative
// paths are taken inside `root`, whatever the process's current directory.
//
// The record store names tables by GBK paths and makes a relative one
// absolute against its file system's current directory. Over a
// RootedFileSystem at the data folder, a table is named by its own name
// alone ("加班"), so the folder's path may hold characters that have no GBK
// form (ö, ñ, Hangul, an emoji): only the names inside the folder need one.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace qinghe::platform {

class RootedFileSystem final : public ForwardingFileSystem {
  public:
    // `root` (UTF-8) is made absolute against `inner`'s current directory.
    explicit RootedFileSystem(const std::string& root, FileSystem& inner = posixFileSystem());

    int open(const std::string& path, bool write, bool create) override;
    int status(const std::string& path, FileStatus& status) override;
    int identifyEntry(const std::string& path, FileId& id) override;
    int readLink(const std::string& path, std::string& target) override;
    int writeStream(const std::string& path, std::span<const std::uint8_t> bytes) override;
    int readStream(const std::string& path, std::size_t limit, std::string& bytes) override;
    int listDirectory(const std::string& path, std::vector<std::string>& names) override;
    int createDirectory(const std::string& path) override;
    std::string currentDirectory() override { return root_; }
    int rename(const std::string& from, const std::string& to) override;
    int remove(const std::string& path) override;
    int removeDirectory(const std::string& path) override;
    int syncDirectory(const std::string& path) override;

  private:
    std::string inside(const std::string& path) const;

    std::string root_;
};

}  // namespace qinghe::platform
