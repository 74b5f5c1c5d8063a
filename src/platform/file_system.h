// The one seam between the program and the operating system's files.
//
// Every file the program touches -- tables, the settings file, exports, the
// data folder itself -- is reached through a FileSystem, so that tests can
// put a failing, short-writing or recording file system in its place.
// posixFileSystem() is the real one (POSIX calls on Linux; byte-range locks
// are open-file-description locks, F_OFD_SETLK, which belong to one open file
// and do not vanish when another descriptor of the same file is closed).
//
// Conventions: paths are UTF-8; a handle is a small non-negative integer;
// every call returns a non-negative result on success and -errno on failure.
// No call blocks on a lock: lock() reports a conflict as -EAGAIN (or
// -EACCES) at once and the caller decides whether to retry. No open blocks
// either: open() takes regular files only and refuses a FIFO, a device or a
// folder at once (writeStream and readStream are the calls meant for those).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qinghe::platform {

enum class LockKind { Shared, Exclusive };

// Identity of a file on disk: two paths name one file when these are equal.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

enum class FileKind { Regular, Directory, Other };

// What status() tells of a file.
struct FileStatus {
    FileKind kind = FileKind::Other;
    FileId id;
    std::uint32_t mode = 0;  // permission bits with the set-id and sticky bits (07777)
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // the last write, in seconds since 1970-01-01 00:00 UTC
};

// Files that the program creates are private to the person who runs it.
inline constexpr std::uint32_t kNewFileMode = 0600;
// The read, write and execute bits of owner, group and others: what a file
// that replaces another takes of its mode (never the set-id or sticky bits).
inline constexpr std::uint32_t kPermissionBits = 0777;
inline constexpr std::uint32_t kNewDirectoryMode = 0700;

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens a regular file for reading, or for reading and writing: -EISDIR
    // for a folder and -EINVAL for anything else that is not a regular file
    // (a FIFO, a device), at once. With `create` a new file (kNewFileMode) is
    // made instead: -EEXIST when the name exists already, also as a symbolic
    // link (whose target is never created or opened). Returns the handle.
    virtual int open(const std::string& path, bool write, bool create) = 0;
    virtual int close(int handle) = 0;

    // Reads or writes at an offset; the count may be short (0 at the end of
    // the file for a read).
    virtual std::int64_t read(int handle, std::span<std::uint8_t> buffer, std::int64_t offset) = 0;
    virtual std::int64_t write(int handle, std::span<const std::uint8_t> data,
                               std::int64_t offset) = 0;

    virtual std::int64_t size(int handle) = 0;
    // Bytes of the file that lie in holes (never written; they read as
    // zeros), as far as the file system tells: 0 when it keeps no holes.
    virtual std::int64_t holeBytes(int handle) = 0;
    virtual int truncate(int handle, std::int64_t length) = 0;
    virtual int sync(int handle) = 0;
    virtual int identify(int handle, FileId& id) = 0;
    // Gives the open file the permission bits `mode` and, where the system
    // lets this process, the owner and group (a failure to change those is
    // not one).
    virtual int setModeAndOwner(int handle, std::uint32_t mode, std::uint32_t owner,
                                std::uint32_t group) = 0;

    // What the file that `path` names is, through symbolic links.
    virtual int status(const std::string& path, FileStatus& status) = 0;
    // The identity of the regular file that `path` names, without following
    // a symbolic link: -ELOOP for a link, -EINVAL for anything but a regular
    // file.
    virtual int identifyEntry(const std::string& path, FileId& id) = 0;
    // The text of the symbolic link at `path`; -EINVAL when it is none.
    virtual int readLink(const std::string& path, std::string& target) = 0;

    // Byte-range locks of one open file; a length of 0 is not used.
    virtual int lock(int handle, LockKind kind, std::int64_t start, std::int64_t length) = 0;
    virtual int unlock(int handle, std::int64_t start, std::int64_t length) = 0;
    // 1 when another open file holds a lock that conflicts with `kind` on the
    // range, 0 when none does.
    virtual int isLockedElsewhere(int handle, LockKind kind, std::int64_t start,
                                  std::int64_t length) = 0;

    // Writes all of `bytes` into the existing file at `path` that is not a
    // regular file -- a FIFO (waiting for its reader), a terminal, a device --
    // as a shell's redirection would. Never creates, cuts or replaces a file:
    // -EINVAL when `path` is a regular file (or became one), -EISDIR for a
    // folder.
    virtual int writeStream(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
    // Reads what the existing file at `path` that is not a regular file
    // gives until its end (waiting for a FIFO's writer), at most `limit`
    // bytes (-EFBIG when it gives more), into `bytes`. -EINVAL for a regular
    // file, -EISDIR for a folder.
    virtual int readStream(const std::string& path, std::size_t limit, std::string& bytes) = 0;

    // Names in a directory ("." and ".." left out).
    virtual int listDirectory(const std::string& path, std::vector<std::string>& names) = 0;
    // Makes a directory (kNewDirectoryMode); -EEXIST when the name exists.
    virtual int createDirectory(const std::string& path) = 0;
    virtual std::string currentDirectory() = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int remove(const std::string& path) = 0;
    // Removes an empty directory (-ENOTEMPTY for one that holds anything).
    virtual int removeDirectory(const std::string& path) = 0;
    // Makes the directory's entries (files created, renamed or removed in
    // it) durable.
    virtual int syncDirectory(const std::string& path) = 0;
};

// The machine's own file system.
FileSystem& posixFileSystem();

// Reads the process's standard input until its end, at most `limit` bytes
// (-EFBIG when it gives more), into `bytes`: 0 or -errno (-EBADF when it is
// closed, -EISDIR when it is a folder).
int readStandardInput(std::size_t limit, std::string& bytes);

// A file system that passes every call on to another: the base of file
// systems that change a few calls (failing ones in tests, one without
// flushes in benchmarks).
class ForwardingFileSystem : public FileSystem {
  public:
    explicit ForwardingFileSystem(FileSystem& inner = posixFileSystem()) : inner_(inner) {}

    int open(const std::string& path, bool write, bool create) override {
        return inner_.open(path, write, create);
    }
    int close(int handle) override { return inner_.close(handle); }
    std::int64_t read(int handle, std::span<std::uint8_t> buffer, std::int64_t offset) override {
        return inner_.read(handle, buffer, offset);
    }
    std::int64_t write(int handle, std::span<const std::uint8_t> data,
                       std::int64_t offset) override {
        return inner_.write(handle, data, offset);
    }
    std::int64_t size(int handle) override { return inner_.size(handle); }
    std::int64_t holeBytes(int handle) override { return inner_.holeBytes(handle); }
    int truncate(int handle, std::int64_t length) override {
        return inner_.truncate(handle, length);
    }
    int sync(int handle) override { return inner_.sync(handle); }
    int identify(int handle, FileId& id) override { return inner_.identify(handle, id); }
    int setModeAndOwner(int handle, std::uint32_t mode, std::uint32_t owner,
                        std::uint32_t group) override {
        return inner_.setModeAndOwner(handle, mode, owner, group);
    }
    int status(const std::string& path, FileStatus& status) override {
        return inner_.status(path, status);
    }
    int identifyEntry(const std::string& path, FileId& id) override {
        return inner_.identifyEntry(path, id);
    }
    int readLink(const std::string& path, std::string& target) override {
        return inner_.readLink(path, target);
    }
    int lock(int handle, LockKind kind, std::int64_t start, std::int64_t length) override {
        return inner_.lock(handle, kind, start, length);
    }
    int unlock(int handle, std::int64_t start, std::int64_t length) override {
        return inner_.unlock(handle, start, length);
    }
    int isLockedElsewhere(int handle, LockKind kind, std::int64_t start,
                          std::int64_t length) override {
        return inner_.isLockedElsewhere(handle, kind, start, length);
    }
    int writeStream(const std::string& path, std::span<const std::uint8_t> bytes) override {
        return inner_.writeStream(path, bytes);
    }
    int readStream(const std::string& path, std::size_t limit, std::string& bytes) override {
        return inner_.readStream(path, limit, bytes);
    }
    int listDirectory(const std::string& path, std::vector<std::string>& names) override {
        return inner_.listDirectory(path, names);
    }
    int createDirectory(const std::string& path) override { return inner_.createDirectory(path); }
    std::string currentDirectory() override { return inner_.currentDirectory(); }
    int rename(const std::string& from, const std::string& to) override {
        return inner_.rename(from, to);
    }
    int remove(const std::string& path) override { return inner_.remove(path); }
    int removeDirectory(const std::string& path) override { return inner_.removeDirectory(path); }
    int syncDirectory(const std::string& path) override { return inner_.syncDirectory(path); }

  protected:
    FileSystem& inner_;
};

}  // namespace qinghe::platform
