// Paths as the program spells them: UTF-8, "/" between components. Lexical
// helpers, and the two that ask the file system which file a path names
// (without regard to letter case; through symbolic links).
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace qinghe::platform {

// An absolute path: a relative path joined to `currentDirectory`, then "."
// and ".." components and repeated separators removed lexically.
std::string absolutePath(std::string_view path, std::string_view currentDirectory);

// The directory part of a path ("/" for a file in the root, "." for a bare
// name) and its last component.
std::string directoryOf(std::string_view path);
std::string lastComponent(std::string_view path);

// `name` inside `directory`.
std::string childPath(std::string_view directory, std::string_view name);

// True when two UTF-8 paths are equal without regard to the case of ASCII
// letters (the bytes of multi-byte characters are never ASCII, so they
// compare exactly).
bool samePath(std::string_view a, std::string_view b);

// The file on disk that `path` names without regard to the case of ASCII
// letters: `path` itself when it exists, else the first (in byte order) entry
// of its directory whose name differs only in case, else `path` unchanged.
std::string resolveIgnoringCase(FileSystem& fs, const std::string& path);

// Where `path` leads when it is a symbolic link (or a chain of them): in
// `target`, the path of the last link's target (which need not exist); any
// other path as it is. 0, or -ELOOP after 40 links.
int followLinks(FileSystem& fs, const std::string& path, std::string& target);

}  // namespace qinghe::platform
