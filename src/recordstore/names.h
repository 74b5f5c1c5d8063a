// Public header of the record store (README.md lists the others).
//
// Names of the record store: table file names, field names and aliases, and
// how they compare.
//
// Paths here are UTF-8 (as on disk) with "/" as the separator; a caller's
// "\" has already been turned into "/" (see toDiskPath); the helpers for
// paths as such are platform/paths.h. Field names and aliases are GBK.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace qinghe::recordstore {

// A caller's GBK path as a UTF-8 disk path with "/" separators ("\" counts as
// a separator too). Empty when the text is not valid GBK.
std::optional<std::string> toDiskPath(std::string_view gbkPath);

// The main file that the GBK table name `gbkName` names: its default
// extension added, made absolute against the file system's current
// directory. None when the name is not GBK.
std::optional<std::string> tableFilePath(platform::FileSystem& fs, std::string_view gbkName);

// The file on disk that the absolute path `path` of a main file names: found
// without regard to the case of ASCII letters, then through symbolic links
// to the file they lead to. A table reached through a link is the link's
// target: its auxiliary file, undo log and temporaries lie beside the
// target, and what replaces the table replaces the target, never the link.
// A loop of links gives the path as found (its open then fails).
std::string tableFileOnDisk(platform::FileSystem& fs, const std::string& path);
// The same without the search for another letter case: `path` through links.
std::string throughLinks(platform::FileSystem& fs, const std::string& path);

// The main file of a table: ".EDB" appended to a path without an extension
// (no "." after the last "/"), "EDB" to a path ending in "."; any other path
// unchanged.
std::string withDefaultExtension(std::string_view path);

// The auxiliary file of a main file: its extension (from the last "." after
// the last "/") replaced by ".EDT", or ".EDT" appended when it has none.
std::string auxiliaryPath(std::string_view mainPath);

// The extension of a table's undo log (undo_log.h), beside its main file.
inline constexpr std::string_view kUndoLogExtension = ".EDJ";

// True when a main file at `path` would be a side file of a table: an
// auxiliary file or an undo log by its extension (any case), or a
// temporary file by its name (platform/temporary_files.h). No table is
// created under such a name.
bool isSideFileName(std::string_view path);

// True when, in the directory of a table's main file named `mainName`, the
// name `name` is one that the table has or may have for a while: the main
// file's, its auxiliary file's, its undo log's or a temporary name of one of
// them (last components; compared as on disk, without regard to the case of
// ASCII letters).
bool isFileNameOfTable(std::string_view name, std::string_view mainName);

// What a file is by its first four bytes: the magic of a table's main file
// ("WEDB", "WCDB"), of an auxiliary file ("WEDT") or of an undo log
// ("WEDJ"), or none of them.
enum class FileMagic { None, Main, Auxiliary, UndoLog };

// The magic of the regular file at `path` (through links); None also for a
// file that is missing, shorter than a magic or cannot be read, and for
// anything but a regular file.
FileMagic fileMagicAt(platform::FileSystem& fs, const std::string& path);

// The file title: the path without directory and without extension.
std::string fileTitle(std::string_view path);

// True when two texts are equal without regard to the case of ASCII letters.
// GBK-aware: the trail byte of a double-byte character is compared as is.
// Also right for UTF-8, whose multi-byte sequences hold no ASCII bytes.
bool sameName(std::string_view a, std::string_view b);

// The text with ASCII letters (outside double-byte characters) upper-cased:
// two texts are sameName exactly when their folded forms are equal.
std::string foldName(std::string_view gbk);

// The field-name rule: not empty; the first character not an ASCII digit,
// "." or a full-width digit; every character an ASCII letter, digit or "_",
// a full-width digit or letter, a double-byte character with lead byte 0x81
// to 0xA0 or 0xAA to 0xFE, hiragana, katakana or the character A960. With
// `limitLength` (field names, not aliases) at most 16 bytes.
bool isValidName(std::string_view gbk, bool limitLength);

}  // namespace qinghe::recordstore
