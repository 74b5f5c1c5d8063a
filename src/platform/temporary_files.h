// Temporary files: a file written whole before it replaces another (a new
// table, an undo log, the settings file, an export) is made beside it under
// the target's name followed by ".~", the creating process's id, "-" and
// eight random letters and digits: "加班.EDB.~4711-k3x9q2ma". When the
// target's name is so long that the whole would pass the 255 bytes a name may
// have, the target's name is cut (at a character boundary) to make room.
//
// The random part makes the name unpredictable, and a temporary is created
// exclusively and never through a symbolic link: another user who may write
// to the folder can neither guess the name nor have it written through a
// link of theirs.
//
// A temporary whose maker is gone is what an interrupted writer left: no
// running process has the id in its name, and no open file holds a lock on
// it (a writer at work holds one, whatever namespace of processes it runs
// in). The next writer of the same target removes those.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace qinghe::platform {

// The name for a temporary file of `target` (a path or a name; the result
// is the same with the last component changed).
std::string temporaryNameFor(std::string_view target);
// True when the name `candidate` is a temporary name of the file named
// `target` (both last components; ASCII letters compared without regard to
// case). Names of the older form, "<target>.~<number>-<number>", count too.
bool isTemporaryOf(std::string_view candidate, std::string_view target);
// True when the name `name` has the form of a temporary name of any file.
bool isTemporaryName(std::string_view name);
// The process id in a temporary name; none when `name` is not one (or its
// number cannot be a process id).
std::optional<int> creatorOfTemporary(std::string_view name);

// Creates a new temporary file beside `target` (another name when one is
// taken), opened for writing. Its writer locks it while at work (writeReplacing
// does, the record store's files hold their sharing bytes). The handle, with
// `path` naming the file; -EEXIST when 16 names in a row were taken, or the
// file error.
int createTemporaryBeside(FileSystem& fs, const std::string& target, std::string& path);

// True when the maker of the temporary at `path` is gone (see above).
bool makerIsGone(FileSystem& fs, const std::string& path);

// The temporaries of the files `targets` (all in one directory), in byte
// order of their names.
std::vector<std::string> temporariesOf(FileSystem& fs, std::span<const std::string> targets);

// Removes the temporaries of `targets` whose maker is gone, and flushes the
// directory when it removed any. Best effort: a file that cannot be removed
// stays.
void removeLeftTemporaries(FileSystem& fs, std::span<const std::string> targets);

}  // namespace qinghe::platform
