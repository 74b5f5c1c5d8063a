#include "platform/rooted_file_system.h"

#include "platform/paths.h"

namespace qinghe::platform {

RootedFileSystem::RootedFileSystem(const std::string& root, FileSystem& inner)
    : ForwardingFileSystem(inner), root_(absolutePath(root, inner.currentDirectory())) {}

std::string RootedFileSystem::inside(const std::string& path) const {
    return absolutePath(path, root_);
}

int RootedFileSystem::open(const std::string& path, bool write, bool create) {
    return inner_.open(inside(path), write, create);
}

int RootedFileSystem::status(const std::string& path, FileStatus& status) {
    return inner_.status(inside(path), status);
}

int RootedFileSystem::identifyEntry(const std::string& path, FileId& id) {
    return inner_.identifyEntry(inside(path), id);
}

int RootedFileSystem::readLink(const std::string& path, std::string& target) {
    return inner_.readLink(inside(path), target);
}

int RootedFileSystem::writeStream(const std::string& path, std::span<const std::uint8_t> bytes) {
    return inner_.writeStream(inside(path), bytes);
}

int RootedFileSystem::readStream(const std::string& path, std::size_t limit, std::string& bytes) {
    return inner_.readStream(inside(path), limit, bytes);
}

int RootedFileSystem::listDirectory(const std::string& path, std::vector<std::string>& names) {
    return inner_.listDirectory(inside(path), names);
}

int RootedFileSystem::createDirectory(const std::string& path) {
    return inner_.createDirectory(inside(path));
}

int RootedFileSystem::rename(const std::string& from, const std::string& to) {
    return inner_.rename(inside(from), inside(to));
}

int RootedFileSystem::remove(const std::string& path) {
    return inner_.remove(inside(path));
}

int RootedFileSystem::removeDirectory(const std::string& path) {
    return inner_.removeDirectory(inside(path));
}

int RootedFileSystem::syncDirectory(const std::string& path) {
    return inner_.syncDirectory(inside(path));
}

}  // namespace qinghe::platform
