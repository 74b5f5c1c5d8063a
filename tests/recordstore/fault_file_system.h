// A file system for tests that fails on purpose: the Nth call that changes
// the disk (write, truncate, sync, rename, remove, directory sync, creating
// open) fails in one of the ways a real disk fails, or the process ends
// there as if the machine had stopped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "recordstore/file_system.h"

namespace qinghe::recordstore::testing {

enum class Fault {
    None,
    Eio,         // the call fails with EIO; later calls work
    NoSpace,     // the call and every later write fail with ENOSPC (the disk is full)
    ShortWrite,  // a write stores half of its bytes and reports so; the disk is then full
    Crash,       // the process ends with _exit(kCrashStatus) at the call; a write
                 // stores its whole sectors before its middle first
};

inline constexpr int kCrashStatus = 77;
inline constexpr std::int64_t kSectorSize = 512;

class FaultFileSystem final : public ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;

    // Arms a fault at the `n`-th changing call from now (1 = the next one).
    void arm(Fault fault, std::int64_t n) {
        fault_ = fault;
        calls_ = 0;
        failAt_ = n;
        full_ = false;
    }
    void disarm() { arm(Fault::None, 0); }
    // Changing calls since the last arm().
    std::int64_t calls() const { return calls_; }

    int open(const std::string& path, bool write, bool create) override;
    std::int64_t write(int handle, std::span<const std::uint8_t> data,
                       std::int64_t offset) override;
    int truncate(int handle, std::int64_t length) override;
    int sync(int handle) override;
    int rename(const std::string& from, const std::string& to) override;
    int remove(const std::string& path) override;
    int syncDirectory(const std::string& path) override;

  private:
    // 0 to go ahead, else the error to return; ends the process for Crash.
    int strike(bool isWrite);

    Fault fault_ = Fault::None;
    std::int64_t failAt_ = 0;
    std::int64_t calls_ = 0;
    bool full_ = false;
    bool halfWrite_ = false;  // the current write stores half and then acts
};

}  // namespace qinghe::recordstore::testing
