// Public header of the record store (README.md lists the others).
//
// Names of the record store: table file names, field names and aliases, and
// how they compare.
//
// Paths here are UTF-8 (as on disk) with "/" as the separator; a caller's
// "\" has already been turned into "/" (see toDiskPath). Field names and
// aliases are GBK.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "recordstore/file_system.h"

namespace qinghe::recordstore {

// A caller's GBK path as a UTF-8 disk path with "/" separators ("\" counts as
// a separator too). Empty when the text is not valid GBK.
std::optional<std::string> toDiskPath(std::string_view gbkPath);

// The main file that the GBK table name `gbkName` names on disk: its default
// extension added, made absolute against the file system's current
// directory. None when the name is not GBK.
std::optional<std::string> tableFilePath(FileSystem& fs, std::string_view gbkName);

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
// temporary file by its name. No table is created under such a name.
bool isSideFileName(std::string_view path);

// Temporary files. A file that is written whole before it replaces another
// (a new table, the undo log, the settings file) is made beside it under
// the target's name followed by ".~", the creating process's id, "-" and
// random letters and digits: "加班.EDB.~4711-k3x9q2ma". When the target's
// name is so long that the whole would pass the 255 bytes a name may have,
// the target's name is cut (at a character boundary) to make room.
//
// The name for a temporary file of `target` (a path or a name; the result
// is the same with the last component changed).
std::string temporaryNameFor(std::string_view target);
// True when the name `candidate` is a temporary name of the file named
// `target` (both last components; ASCII letters compared without regard to
// case). Names of the older form, "<target>.~<number>-<number>", count too.
bool isTemporaryOf(std::string_view candidate, std::string_view target);
// The process id in a temporary name; none when `name` is not one (or its
// number cannot be a process id).
std::optional<int> creatorOfTemporary(std::string_view name);
// True when the name `name` has the form of a temporary name of any file.
bool isTemporaryName(std::string_view name);

// The file title: the path without directory and without extension.
std::string fileTitle(std::string_view path);

// An absolute path: a relative path joined to `currentDirectory`, then "."
// and ".." components and repeated separators removed lexically.
std::string absolutePath(std::string_view path, std::string_view currentDirectory);

// The directory part of a path ("/" for a file in the root) and its last
// component.
std::string directoryOf(std::string_view path);
std::string lastComponent(std::string_view path);

// The file on disk that `path` names without regard to the case of ASCII
// letters: `path` itself when it exists, else the first (in byte order) entry
// of its directory whose name differs only in case, else `path` unchanged.
std::string resolveIgnoringCase(FileSystem& fs, const std::string& path);

// True when two texts are equal without regard to the case of ASCII letters.
// GBK-aware: the trail byte of a double-byte character is compared as is.
// Also right for UTF-8, whose multi-byte sequences hold no ASCII bytes.
bool sameName(std::string_view a, std::string_view b);

// True when two UTF-8 paths are equal without regard to the case of ASCII
// letters.
bool samePath(std::string_view a, std::string_view b);

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
