#include "journal/arrangements_file.h"

#include <cerrno>
#include <variant>

#include "recordstore/names.h"

namespace qinghe::journal {
namespace {

using Problem = ArrangementsProblem;

Problem unreadable(const std::string& path, std::int64_t failure) {
    return {Problem::Kind::Unreadable, path, static_cast<int>(-failure), {}};
}

// The whole file, read within the bound, or why it cannot be. Only a regular
// file is opened (a pipe would block the open, a link could lead anywhere).
std::variant<std::string, Problem> readBounded(recordstore::FileSystem& fs,
                                               const std::string& path) {
    recordstore::FileId id;
    if (const int entry = fs.identifyEntry(path, id); entry < 0) return unreadable(path, entry);
    const int handle = fs.open(path, false, false);
    if (handle < 0) return unreadable(path, handle);
    const std::int64_t size = fs.size(handle);
    std::int64_t n = size;
    std::string bytes;
    if (size >= 0 && size <= kMaxArrangementsFileBytes) {
        bytes.resize(static_cast<std::size_t>(size));
        for (std::size_t done = 0; n > 0 && done < bytes.size();) {
            auto* at = reinterpret_cast<std::uint8_t*>(bytes.data()) + done;
            n = fs.read(handle, {at, bytes.size() - done}, static_cast<std::int64_t>(done));
            if (n == 0) bytes.resize(done);  // cut short meanwhile
            if (n > 0) done += static_cast<std::size_t>(n);
        }
    }
    fs.close(handle);
    if (n < 0) return unreadable(path, n);
    if (size > kMaxArrangementsFileBytes) return Problem{Problem::Kind::TooLarge, path, 0, {}};
    return bytes;
}

}  // namespace

LoadedArrangements loadArrangements(recordstore::FileSystem& fs,
                                    const std::filesystem::path& dataFolder) {
    LoadedArrangements loaded{wages::Arrangements::builtIn(), std::nullopt};
    const std::string path =
        recordstore::resolveIgnoringCase(fs, (dataFolder / kArrangementsFileName).string());
    auto bytes = readBounded(fs, path);
    if (auto* problem = std::get_if<Problem>(&bytes)) {
        if (problem->kind != Problem::Kind::Unreadable || problem->error != ENOENT)
            loaded.problem = *problem;
        return loaded;
    }
    auto parsed = wages::Arrangements::parse(std::get<std::string>(bytes));
    if (auto* bad = std::get_if<wages::ArrangementError>(&parsed)) {
        loaded.problem = Problem{Problem::Kind::BadLine, path, 0, *bad};
        return loaded;
    }
    loaded.list = loaded.list.overriddenBy(std::get<wages::Arrangements>(parsed));
    return loaded;
}

}  // namespace qinghe::journal
