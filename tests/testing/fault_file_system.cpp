#include "testing/fault_file_system.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>

#include "platform/paths.h"

namespace qinghe::platform::testing {

int FaultFileSystem::strike(bool isWrite) {
    halfWrite_ = false;
    if (fault_ == Fault::None || fault_ == Fault::ReadError) return 0;
    ++calls_;
    if (calls_ != failAt_) return 0;
    switch (fault_) {
        case Fault::None:
        case Fault::ReadError:
            return 0;
        case Fault::Eio:
            return -EIO;
        case Fault::NoSpace:
            full_ = true;
            return -ENOSPC;
        case Fault::ShortWrite:
            if (!isWrite) return -EIO;
            full_ = true;
            halfWrite_ = true;
            failNextWrite_ = true;
            return 0;
        case Fault::Crash:
            if (!isWrite) ::_exit(kCrashStatus);
            halfWrite_ = true;
            return 0;
    }
    return 0;
}

void FaultFileSystem::note(std::string_view call, const std::string& path, const std::string& to) {
    changes_.push_back(std::string(call) + " " + path + (to.empty() ? "" : " " + to));
}

bool FaultFileSystem::refused(const std::string& path) const {
    return !refusedName_.empty() && lastComponent(path) == refusedName_;
}

int FaultFileSystem::open(const std::string& path, bool write, bool create) {
    if (refused(path)) return refusedError_;
    if (create) {
        note("create", path);
        if (int r = strike(false); r < 0) return r;
    }
    const int handle = inner_.open(path, write, create);
    if (handle >= 0) opened_[handle] = path;
    return handle;
}

int FaultFileSystem::status(const std::string& path, FileStatus& status) {
    return refuseLookUps_ && refused(path) ? refusedError_ : inner_.status(path, status);
}

std::int64_t FaultFileSystem::read(int handle, std::span<std::uint8_t> buffer,
                                   std::int64_t offset) {
    if (fault_ != Fault::ReadError) return inner_.read(handle, buffer, offset);
    ++calls_;
    if (calls_ - failAt_ == 1) return -EIO;  // the read after the short one
    if (calls_ == failAt_) buffer = buffer.first(buffer.size() / 2);
    return inner_.read(handle, buffer, offset);
}

std::int64_t FaultFileSystem::write(int handle, std::span<const std::uint8_t> data,
                                    std::int64_t offset) {
    note("write", handle);
    if (int r = strike(true); r < 0) return r;
    if (!halfWrite_) {
        // A full disk refuses the rest of a short write, and then what would
        // need new space; bytes that a file already has can be overwritten.
        if (full_ && (failNextWrite_ ||
                      offset + static_cast<std::int64_t>(data.size()) > inner_.size(handle))) {
            failNextWrite_ = false;
            return -ENOSPC;
        }
        return inner_.write(handle, data, offset);
    }
    if (fault_ == Fault::ShortWrite) {
        if (data.size() < 2) return inner_.write(handle, data, offset);
        return inner_.write(handle, data.first(data.size() / 2), offset);
    }
    // A crash tears a write only between sectors: a disk writes a sector
    // whole or not at all. The sectors before the middle one get written.
    std::int64_t middle = offset + static_cast<std::int64_t>(data.size() / 2);
    std::int64_t cut = middle / kSectorSize * kSectorSize;
    if (cut > offset)
        inner_.write(handle, data.first(static_cast<std::size_t>(cut - offset)), offset);
    ::_exit(kCrashStatus);
}

int FaultFileSystem::truncate(int handle, std::int64_t length) {
    note("truncate", handle);
    if (int r = strike(false); r < 0) return r;
    return inner_.truncate(handle, length);
}

int FaultFileSystem::sync(int handle) {
    note("sync", handle);
    if (int r = strike(false); r < 0) return r;
    return inner_.sync(handle);
}

int FaultFileSystem::setModeAndOwner(int handle, std::uint32_t mode, std::uint32_t owner,
                                     std::uint32_t group) {
    note("mode", handle);
    if (int r = strike(false); r < 0) return r;
    return inner_.setModeAndOwner(handle, mode, owner, group);
}

int FaultFileSystem::createDirectory(const std::string& path) {
    note("mkdir", path);
    if (int r = strike(false); r < 0) return r;
    return inner_.createDirectory(path);
}

int FaultFileSystem::rename(const std::string& from, const std::string& to) {
    note("rename", from, to);
    if (int r = strike(false); r < 0) return r;
    return inner_.rename(from, to);
}

int FaultFileSystem::remove(const std::string& path) {
    note("remove", path);
    if (int r = strike(false); r < 0) return r;
    return inner_.remove(path);
}

int FaultFileSystem::syncDirectory(const std::string& path) {
    note("syncdir", path);
    if (int r = strike(false); r < 0) return r;
    return inner_.syncDirectory(path);
}

std::string durableMoveProblem(const std::vector<std::string>& changes, const std::string& target) {
    const auto move = std::find_if(changes.begin(), changes.end(), [&](const std::string& c) {
        return c.starts_with("rename ") && c.ends_with(" " + target);
    });
    if (move == changes.end()) return "nothing was moved over " + target;
    const std::string moved = move->substr(7, move->size() - 8 - target.size());
    const auto lastWrite =
        std::find(std::make_reverse_iterator(move), changes.rend(), "write " + moved);
    if (std::find(lastWrite.base(), move, "sync " + moved) == move) {
        return moved + " was not flushed between its last write and its move";
    }
    if (std::find(move, changes.end(), "syncdir " + directoryOf(target)) == changes.end()) {
        return "the folder was not flushed after the move";
    }
    return {};
}

}  // namespace qinghe::platform::testing
