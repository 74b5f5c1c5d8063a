#include "recordstore/table_file.h"

#include <cerrno>
#include <iterator>

#include "platform/temporary_files.h"
#include "platform/whole_file.h"
#include "recordstore/format.h"
#include "recordstore/names.h"

namespace qinghe::recordstore {
namespace {

// The sharing bytes, beyond any offset that a table or its locks reach.
constexpr std::int64_t kShareBase = std::int64_t{1} << 32;
constexpr std::int64_t kReadingByte = kShareBase + 0;
constexpr std::int64_t kWritingByte = kShareBase + 1;
constexpr std::int64_t kDenyingReadByte = kShareBase + 2;
constexpr std::int64_t kDenyingWriteByte = kShareBase + 3;

constexpr int kRetryBaseMs = 20;
constexpr int kRetrySpreadMs = 20;

bool denies(ShareMode mode, bool write) {
    switch (mode) {
        case ShareMode::DenyNone:
            return false;
        case ShareMode::DenyRead:
            return !write;
        case ShareMode::DenyWrite:
            return write;
        case ShareMode::Exclusive:
            return true;
    }
    return true;
}

// Another open file holds the range.
bool isLockConflict(std::int64_t negativeErrno) {
    return negativeErrno == -EAGAIN || negativeErrno == -EACCES;
}

// Locks the file system cannot take count as granted.
bool isUnsupported(std::int64_t r) {
    return r == -ENOLCK || r == -ENOTSUP || r == -ENOSYS;
}

}  // namespace

ShareMode shareModeOf(int mode) {
    switch (mode) {
        case 1:
            return ShareMode::DenyNone;
        case 2:
            return ShareMode::DenyRead;
        case 3:
            return ShareMode::DenyWrite;
        default:
            return ShareMode::Exclusive;
    }
}

Status TableFile::open(const std::string& path, bool write, bool create, ShareMode share) {
    close();
    int handle = fs_.open(path, write, create);
    if (handle < 0) return Status::fromErrno(handle);
    return attach(handle, write, share);
}

Status TableFile::attach(int handle, bool write, ShareMode share) {
    handle_ = handle;
    writable_ = write;
    takesLocks_ = share == ShareMode::DenyNone || share == ShareMode::DenyWrite;
    Status status = registerShare(write, share);
    if (!status.ok()) close();
    return status;
}

Status TableFile::createTemporaryBeside(const std::string& target, std::string& path) {
    close();
    const int handle = platform::createTemporaryBeside(fs_, target, path);
    if (handle == -EEXIST) return Status::fail(error::kCreateFailed);
    if (handle < 0) return Status::fromErrno(handle);
    if (Status status = attach(handle, true, ShareMode::Exclusive); !status.ok()) {
        fs_.remove(path);
        path.clear();
        return status;
    }
    return {};
}

Status TableFile::keepModeOf(const std::string& target) {
    const int r = platform::keepModeOf(fs_, handle_, target);
    return r < 0 ? Status::fromErrno(r) : Status();
}

Status TableFile::registerShare(bool write, ShareMode share) {
    struct Claim {
        std::int64_t byte;
        bool mine;                 // this open holds the byte
        std::int64_t conflicting;  // a byte whose holders exclude this open
        bool check;
    };
    bool denyRead = denies(share, false);
    bool denyWrite = denies(share, true);
    const Claim claims[] = {
        {kReadingByte, true, kDenyingReadByte, true},
        {kWritingByte, write, kDenyingWriteByte, write},
        {kDenyingReadByte, denyRead, kReadingByte, denyRead},
        {kDenyingWriteByte, denyWrite, kWritingByte, denyWrite},
    };
    for (const auto& c : claims) {
        if (!c.mine) continue;
        int r = fs_.lock(handle_, platform::LockKind::Shared, c.byte, 1);
        if (r < 0 && !isUnsupported(r)) return Status::fromErrno(r);
    }
    for (const auto& c : claims) {
        if (!c.check) continue;
        int r = fs_.isLockedElsewhere(handle_, platform::LockKind::Exclusive, c.conflicting, 1);
        if (r > 0) return Status::fail(error::kSharingViolation);
        if (r < 0 && !isUnsupported(r)) return Status::fromErrno(r);
    }
    return {};
}

Status TableFile::requireSoleOpen() {
    // Every open holds the reading byte.
    int r = fs_.isLockedElsewhere(handle_, platform::LockKind::Exclusive, kReadingByte, 1);
    if (r > 0) return Status::fail(error::kSharingViolation);
    if (r < 0 && !isUnsupported(r)) return Status::fromErrno(r);
    return {};
}

void TableFile::close() {
    if (handle_ < 0) return;
    if (dirty_) fs_.sync(handle_);  // a table that was written to is on disk when closed
    dirty_ = false;
    fs_.close(handle_);  // the system drops every lock of the open file with it
    handle_ = -1;
    held_.clear();
    wholeCount_ = 0;
    readCipher_.reset();
    writeCipher_.reset();
}

void TableFile::setCiphers(std::shared_ptr<Cipher> read, std::shared_ptr<Cipher> write) {
    readCipher_ = std::move(read);
    writeCipher_ = std::move(write);
}

Status TableFile::readRaw(std::int64_t offset, std::span<std::uint8_t> buffer, std::size_t& got) {
    got = 0;
    while (got < buffer.size()) {
        std::int64_t n =
            fs_.read(handle_, buffer.subspan(got), offset + static_cast<std::int64_t>(got));
        if (n < 0) return Status::fromErrno(n);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return {};
}

Status TableFile::read(std::int64_t offset, std::span<std::uint8_t> buffer, std::size_t& got) {
    Status status = readRaw(offset, buffer, got);
    if (got > 0 && readCipher_) {
        readCipher_->apply(static_cast<std::uint64_t>(offset), buffer.first(got));
    }
    return status;
}

Status TableFile::readExact(std::int64_t offset, std::span<std::uint8_t> buffer, int shortCode) {
    std::size_t got = 0;
    if (Status status = read(offset, buffer, got); !status.ok()) return status;
    return got == buffer.size() ? Status() : Status::fail(shortCode);
}

Status TableFile::write(std::int64_t offset, std::span<const std::uint8_t> data) {
    if (writeCipher_) {
        scratch_.assign(data.begin(), data.end());
        writeCipher_->apply(static_cast<std::uint64_t>(offset), scratch_);
        data = scratch_;
    }
    return writeRaw(offset, data);
}

Status TableFile::writeRaw(std::int64_t offset, std::span<const std::uint8_t> data) {
    dirty_ = true;
    std::size_t done = 0;
    while (done < data.size()) {
        std::int64_t n =
            fs_.write(handle_, data.subspan(done), offset + static_cast<std::int64_t>(done));
        if (n < 0) return Status::fromErrno(n);
        if (n == 0) return Status::fail(error::kDiskFull);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

Status TableFile::size(std::int64_t& length) {
    std::int64_t n = fs_.size(handle_);
    if (n < 0) return Status::fromErrno(n);
    length = n;
    return {};
}

Status TableFile::holeBytes(std::int64_t& bytes) {
    std::int64_t n = fs_.holeBytes(handle_);
    if (n < 0) return Status::fromErrno(n);
    bytes = n;
    return {};
}

Status TableFile::truncate(std::int64_t length) {
    dirty_ = true;
    int r = fs_.truncate(handle_, length);
    return r < 0 ? Status::fromErrno(r) : Status();
}

Status TableFile::sync() {
    int r = fs_.sync(handle_);
    if (r < 0) return Status::fromErrno(r);
    dirty_ = false;
    return {};
}

Status TableFile::flushWritten() {
    if (!dirty_) return {};
    // Reported once: a flush that failed is not tried again at close (after
    // a failure the system may already have dropped the unwritten pages).
    Status status = sync();
    dirty_ = false;
    return status;
}

Status TableFile::identify(platform::FileId& id) {
    int r = fs_.identify(handle_, id);
    return r < 0 ? Status::fromErrno(r) : Status();
}

int TableFile::lockGaps(std::int64_t start, std::int64_t end, platform::LockKind kind) {
    std::int64_t from = start;
    auto undo = [&](std::int64_t upTo) { unlockGaps(start, upTo); };
    auto take = [&](std::int64_t a, std::int64_t b) -> std::int64_t {
        if (a >= b) return 0;
        std::int64_t r = fs_.lock(handle_, kind, a, b - a);
        return isUnsupported(r) ? 0 : r;
    };
    for (auto it = held_.lower_bound(start); it != held_.end() && it->first < end; ++it) {
        if (std::int64_t r = take(from, it->first); r < 0) {
            undo(from);
            return static_cast<int>(r);
        }
        from = it->first + 1;
    }
    if (std::int64_t r = take(from, end); r < 0) {
        undo(from);
        return static_cast<int>(r);
    }
    return 0;
}

int TableFile::unlockGaps(std::int64_t start, std::int64_t end) {
    std::int64_t from = start;
    int result = 0;
    auto give = [&](std::int64_t a, std::int64_t b) {
        if (a >= b) return;
        int r = fs_.unlock(handle_, a, b - a);
        if (r < 0 && !isUnsupported(r) && result == 0) result = r;
    };
    for (auto it = held_.lower_bound(start); it != held_.end() && it->first < end; ++it) {
        give(from, it->first);
        from = it->first + 1;
    }
    give(from, end);
    return result;
}

template <typename Attempt>
Status TableFile::retrying(int waitMs, Attempt attempt) {
    const std::uint64_t first = clock_.tickCount();
    for (;;) {
        const int r = attempt();
        if (r == 0 || isUnsupported(r)) return {};
        if (!isLockConflict(r)) {
            return Status::fail(r == -EBADF ? error::kBadHandle : error::kLockFailed);
        }
        if (clock_.tickCount() - first >= static_cast<std::uint64_t>(waitMs)) {
            return Status::fail(error::kLockViolation);
        }
        clock_.sleepMs(kRetryBaseMs + static_cast<int>(clock_.tickCount() % kRetrySpreadMs));
    }
}

Status TableFile::lockByte(std::int64_t offset, platform::LockKind kind, int waitMs) {
    if (!takesLocks_) return {};
    if (offset < 0) return Status::fail(error::kLockFailed);
    kind = usable(kind);
    auto it = held_.find(offset);
    if (it == held_.end()) {
        if (wholeCount_ == 0) {
            Status status = retrying(waitMs, [&] { return lockGaps(offset, offset + 1, kind); });
            if (!status.ok()) return status;
        }
        held_[offset] = {1, kind};
        return {};
    }
    if (kind == platform::LockKind::Exclusive && it->second.kind == platform::LockKind::Shared &&
        wholeCount_ == 0) {
        // Upgrading a byte that this file holds shared.
        Status status = retrying(waitMs, [&] { return fs_.lock(handle_, kind, offset, 1); });
        if (!status.ok()) return status;
        it->second.kind = kind;
    }
    ++it->second.count;
    return {};
}

Status TableFile::unlockByte(std::int64_t offset) {
    if (!takesLocks_) return {};
    auto it = held_.find(offset);
    if (offset < 0 || it == held_.end()) return Status::fail(error::kUnlockFailed);
    if (--it->second.count > 0) return {};
    held_.erase(it);
    if (wholeCount_ > 0) return {};  // the byte stays locked as part of the whole range
    int r = fs_.unlock(handle_, offset, 1);
    return r < 0 && !isUnsupported(r) ? Status::fail(error::kUnlockFailed) : Status();
}

Status TableFile::unlockBytes(std::int64_t first, std::int64_t second) {
    if (!takesLocks_) return {};
    auto a = held_.find(first);
    auto b = held_.find(second);
    bool together = a != held_.end() && b != held_.end() && a->second.count == 1 &&
                    b->second.count == 1 && std::next(a) == b && wholeCount_ == 0;
    if (!together) {
        Status later = unlockByte(second);
        Status earlier = unlockByte(first);
        return later.ok() ? earlier : later;
    }
    held_.erase(a);
    held_.erase(b);
    // Bytes between them are not held by this file: unlocking them changes nothing.
    int r = fs_.unlock(handle_, first, second - first + 1);
    return r < 0 && !isUnsupported(r) ? Status::fail(error::kUnlockFailed) : Status();
}

Status TableFile::lockWhole(platform::LockKind kind, int waitMs) {
    if (!takesLocks_) return {};
    if (wholeCount_ == 0) {
        kind = usable(kind);
        Status status =
            retrying(waitMs, [&] { return lockGaps(0, format::kWholeTableLockLength, kind); });
        if (!status.ok()) return status;
    }
    ++wholeCount_;
    return {};
}

Status TableFile::unlockWhole() {
    if (!takesLocks_) return {};
    if (wholeCount_ == 0) return Status::fail(error::kUnlockFailed);
    if (--wholeCount_ > 0) return {};
    // Bytes still held singly keep their lock.
    return unlockGaps(0, format::kWholeTableLockLength) < 0 ? Status::fail(error::kUnlockFailed)
                                                            : Status();
}

Status TableFile::lockRange(std::int64_t start, std::int64_t length, platform::LockKind kind,
                            int waitMs) {
    if (!takesLocks_ || wholeCount_ > 0) return {};
    kind = usable(kind);
    return retrying(waitMs, [&] { return lockGaps(start, start + length, kind); });
}

Status TableFile::unlockRange(std::int64_t start, std::int64_t length) {
    if (!takesLocks_ || wholeCount_ > 0) return {};
    return unlockGaps(start, start + length) < 0 ? Status::fail(error::kUnlockFailed) : Status();
}

}  // namespace qinghe::recordstore
