// The one file system of the suites that fails on purpose: the Nth call that
// changes the disk (write, truncate, sync, mode and owner, rename, remove,
// directory sync, making a directory, creating open) fails in one of the
// ways a real disk fails, or the process ends there as if the machine had
// stopped; or the Nth read is cut short by a disk that stops reading. It
// also keeps the order of the changing calls, which is what a power loss
// tests (a file flushed before it is moved, its folder after), and it can
// refuse to open a file that is there.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace qinghe::platform::testing {

enum class Fault {
    None,
    Eio,         // the call fails with EIO; later calls work
    NoSpace,     // the call fails with ENOSPC, and the disk is then full: a later write
                 // that needs new space fails the same way (overwriting does not)
    ShortWrite,  // a write stores half of its bytes and reports so; its rest fails
                 // with ENOSPC and the disk is then full
    Crash,       // the process ends with _exit(kCrashStatus) at the call; a write
                 // stores its whole sectors before its middle first
    ReadError,   // counted over reads instead: the Nth read gets half of its bytes
                 // and the next one fails with EIO; later reads work again
                 // (nothing that changes the disk fails)
};

inline constexpr int kCrashStatus = 77;
inline constexpr std::int64_t kSectorSize = 512;

class FaultFileSystem final : public ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;

    // Arms a fault at the `n`-th changing call (or read, for ReadError) from
    // now (1 = the next one).
    void arm(Fault fault, std::int64_t n) {
        fault_ = fault;
        calls_ = 0;
        failAt_ = n;
        full_ = false;
        failNextWrite_ = false;
    }
    void disarm() { arm(Fault::None, 0); }
    // Changing calls (reads, for ReadError) since the last arm().
    std::int64_t calls() const { return calls_; }

    // The changing calls made so far, in order, each as its name and the
    // paths it named: "create P", "write P", "truncate P", "sync P",
    // "mode P", "mkdir P", "rename F T", "remove P", "syncdir P". A call on a
    // handle names the path the handle was opened by.
    const std::vector<std::string>& changes() const { return changes_; }

    // From now on, an open of a file whose last path component is `name`
    // fails with `error` (-EACCES: without permission to read it; -EIO: on
    // a failing disk); with `lookUpsToo` its status fails too (as behind a
    // folder without permission). Renames over it still work.
    void refuse(std::string name, int error, bool lookUpsToo) {
        refusedName_ = std::move(name);
        refusedError_ = error;
        refuseLookUps_ = lookUpsToo;
    }

    int open(const std::string& path, bool write, bool create) override;
    std::int64_t read(int handle, std::span<std::uint8_t> buffer, std::int64_t offset) override;
    std::int64_t write(int handle, std::span<const std::uint8_t> data,
                       std::int64_t offset) override;
    int truncate(int handle, std::int64_t length) override;
    int sync(int handle) override;
    int setModeAndOwner(int handle, std::uint32_t mode, std::uint32_t owner,
                        std::uint32_t group) override;
    int status(const std::string& path, FileStatus& status) override;
    int createDirectory(const std::string& path) override;
    int rename(const std::string& from, const std::string& to) override;
    int remove(const std::string& path) override;
    int syncDirectory(const std::string& path) override;

  private:
    // 0 to go ahead, else the error to return; ends the process for Crash.
    int strike(bool isWrite);
    void note(std::string_view call, const std::string& path, const std::string& to = {});
    void note(std::string_view call, int handle) { note(call, opened_[handle]); }
    bool refused(const std::string& path) const;

    Fault fault_ = Fault::None;
    std::int64_t failAt_ = 0;
    std::int64_t calls_ = 0;
    bool full_ = false;
    bool halfWrite_ = false;      // the current write stores half and then acts
    bool failNextWrite_ = false;  // the rest of a short write is refused
    std::vector<std::string> changes_;
    std::map<int, std::string> opened_;  // the path each open handle was opened by
    std::string refusedName_;
    int refusedError_ = 0;
    bool refuseLookUps_ = false;
};

// What `changes` (FaultFileSystem::changes) miss for the file moved over
// `target` to survive a power loss: empty when that file was flushed after
// its last write and before the move, and the folder after the move; else
// what is missing.
std::string durableMoveProblem(const std::vector<std::string>& changes, const std::string& target);

}  // namespace qinghe::platform::testing
