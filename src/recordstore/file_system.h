// Public header of the record store (README.md lists the others).
//
// The one seam between the record store and the operating system.
//
// Every system call of the engine goes through a FileSystem, so that tests
// can put a failing, short-writing or recording file system in its place.
// posixFileSystem() is the real one (POSIX calls on Linux; byte-range locks
// are open-file-description locks, F_OFD_SETLK, which belong to one open file
// and do not vanish when another descriptor of the same file is closed).
//
// Conventions: paths are UTF-8; a handle is a small non-negative integer;
// every call returns a non-negative result on success and -errno on failure.
// No call blocks on a lock: lock() reports a conflict as -EAGAIN (or
// -EACCES) at once and the caller decides whether to retry.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qinghe::recordstore {

enum class LockKind { Shared, Exclusive };

// Identity of a file on disk: two paths name one file when these are equal.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens a file for reading, or for reading and writing. With `create` a
    // new file is made instead: -EEXIST when the name exists already, also
    // as a symbolic link (whose target is never created or opened).
    // Returns the handle.
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
    // The identity of the regular file that `path` names, without following
    // a symbolic link: -ELOOP for a link, -EINVAL for anything but a regular
    // file.
    virtual int identifyEntry(const std::string& path, FileId& id) = 0;

    // Byte-range locks of one open file; a length of 0 is not used.
    virtual int lock(int handle, LockKind kind, std::int64_t start, std::int64_t length) = 0;
    virtual int unlock(int handle, std::int64_t start, std::int64_t length) = 0;
    // 1 when another open file holds a lock that conflicts with `kind` on the
    // range, 0 when none does.
    virtual int isLockedElsewhere(int handle, LockKind kind, std::int64_t start,
                                  std::int64_t length) = 0;

    // Names in a directory ("." and ".." left out).
    virtual int listDirectory(const std::string& path, std::vector<std::string>& names) = 0;
    virtual std::string currentDirectory() = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int remove(const std::string& path) = 0;
    // Makes the directory's entries (files created, renamed or removed in
    // it) durable.
    virtual int syncDirectory(const std::string& path) = 0;
};

// The machine's own file system.
FileSystem& posixFileSystem();

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
    int identifyEntry(const std::string& path, FileId& id) override {
        return inner_.identifyEntry(path, id);
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
    int listDirectory(const std::string& path, std::vector<std::string>& names) override {
        return inner_.listDirectory(path, names);
    }
    std::string currentDirectory() override { return inner_.currentDirectory(); }
    int rename(const std::string& from, const std::string& to) override {
        return inner_.rename(from, to);
    }
    int remove(const std::string& path) override { return inner_.remove(path); }
    int syncDirectory(const std::string& path) override { return inner_.syncDirectory(path); }

  protected:
    FileSystem& inner_;
};

}  // namespace qinghe::recordstore
