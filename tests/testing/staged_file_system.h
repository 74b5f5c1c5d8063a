// A file system for a child process that stops an operation at chosen
// points: it waits there for the parent's word (one byte on a pipe, after it
// wrote one) or ends the process as a crash would. The points are found by
// what the operation does, not by counting calls: its first lock (it has
// opened the table's file and holds nothing yet), its first changing call
// (it holds its locks and has written nothing yet), and its first write
// after an undo log (a file named *.EDJ) was moved into place.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "recordstore/record_store.h"

namespace qinghe::recordstore::testing {

class StagedFileSystem final : public platform::ForwardingFileSystem {
  public:
    static constexpr int kDied = 77;  // the exit status of a process that Stop::Die ended
    enum class Stop { None, Wait, Die };
    // `atFirstChange`: what happens at the operation's first changing call
    // (it holds its locks and has written nothing yet); `afterUndoLog`: at
    // the first write after its undo log was moved into place.
    StagedFileSystem(Stop atFirstChange, Stop afterUndoLog, int toParent, int fromParent)
        : first_(atFirstChange),
          afterLog_(afterUndoLog),
          toParent_(toParent),
          fromParent_(fromParent) {}

    // What happens at the first lock of any kind (none unless set).
    void stopAtFirstLock(Stop stop) { firstLock_ = stop; }

    int lock(int handle, platform::LockKind kind, std::int64_t start,
             std::int64_t length) override {
        act(std::exchange(firstLock_, Stop::None));
        return ForwardingFileSystem::lock(handle, kind, start, length);
    }
    int open(const std::string& path, bool write, bool create) override {
        if (create) changing();
        return ForwardingFileSystem::open(path, write, create);
    }
    std::int64_t write(int handle, std::span<const std::uint8_t> data,
                       std::int64_t offset) override {
        changing();
        if (logInPlace_) act(std::exchange(afterLog_, Stop::None));
        return ForwardingFileSystem::write(handle, data, offset);
    }
    int truncate(int handle, std::int64_t length) override {
        changing();
        return ForwardingFileSystem::truncate(handle, length);
    }
    int rename(const std::string& from, const std::string& to) override {
        changing();
        int r = ForwardingFileSystem::rename(from, to);
        if (r == 0 && to.size() >= 4 && to.compare(to.size() - 4, 4, ".EDJ") == 0) {
            logInPlace_ = true;
        }
        return r;
    }

  private:
    void changing() { act(std::exchange(first_, Stop::None)); }
    void act(Stop stop) {
        if (stop == Stop::None) return;
        if (stop == Stop::Die) ::_exit(kDied);
        char c = 'w';
        (void)!::write(toParent_, &c, 1);
        (void)!::read(fromParent_, &c, 1);
    }

    Stop first_, afterLog_;
    Stop firstLock_ = Stop::None;
    int toParent_, fromParent_;
    bool logInPlace_ = false;
};

// Runs `operation` (bool(Registry&)) in a child process over a staged file
// system that ends the child at its first write after an undo log was moved
// into place. Returns the child's exit status: StagedFileSystem::kDied, or 0
// or 1 when the operation returned true or false before that point.
template <typename Operation>
int dieAfterUndoLog(Operation operation) {
    using Stop = StagedFileSystem::Stop;
    pid_t child = ::fork();
    if (child == 0) {
        StagedFileSystem fs(Stop::None, Stop::Die, -1, -1);
        Registry store(fs);
        ::_exit(operation(store) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace qinghe::recordstore::testing
