#include "recordstore/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace qinghe::recordstore {
namespace {

int failure() {
    return -errno;
}

class PosixFileSystem final : public FileSystem {
  public:
    int open(const std::string& path, bool write, bool create) override {
        int flags = (write ? O_RDWR : O_RDONLY) | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0);
        int fd;
        do {
            fd = ::open(path.c_str(), flags, 0666);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? failure() : fd;
    }

    int close(int handle) override { return ::close(handle) < 0 ? failure() : 0; }

    std::int64_t read(int handle, std::span<std::uint8_t> buffer, std::int64_t offset) override {
        ssize_t n;
        do {
            n = ::pread(handle, buffer.data(), buffer.size(), offset);
        } while (n < 0 && errno == EINTR);
        return n < 0 ? failure() : n;
    }

    std::int64_t write(int handle, std::span<const std::uint8_t> data,
                       std::int64_t offset) override {
        ssize_t n;
        do {
            n = ::pwrite(handle, data.data(), data.size(), offset);
        } while (n < 0 && errno == EINTR);
        return n < 0 ? failure() : n;
    }

    std::int64_t size(int handle) override {
        struct stat st {};
        if (::fstat(handle, &st) < 0) return failure();
        return st.st_size;
    }

    std::int64_t holeBytes(int handle) override {
        struct stat st {};
        if (::fstat(handle, &st) < 0) return failure();
        std::int64_t holes = 0;
        for (off_t at = 0; at < st.st_size;) {
            const off_t data = ::lseek(handle, at, SEEK_DATA);
            if (data < 0 && errno == ENXIO) return holes + (st.st_size - at);  // a hole to the end
            if (data < 0) return errno == EINVAL ? 0 : failure();              // no holes kept here
            holes += data - at;
            const off_t hole = ::lseek(handle, data, SEEK_HOLE);
            if (hole < 0) return failure();
            at = hole;
        }
        return holes;
    }

    int truncate(int handle, std::int64_t length) override {
        int r;
        do {
            r = ::ftruncate(handle, length);
        } while (r < 0 && errno == EINTR);
        return r < 0 ? failure() : 0;
    }

    int sync(int handle) override { return ::fsync(handle) < 0 ? failure() : 0; }

    int identify(int handle, FileId& id) override {
        struct stat st {};
        if (::fstat(handle, &st) < 0) return failure();
        id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
        return 0;
    }

    int identifyEntry(const std::string& path, FileId& id) override {
        struct stat st {};
        if (::lstat(path.c_str(), &st) < 0) return failure();
        if (S_ISLNK(st.st_mode)) return -ELOOP;
        if (!S_ISREG(st.st_mode)) return -EINVAL;
        id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
        return 0;
    }

    int lock(int handle, LockKind kind, std::int64_t start, std::int64_t length) override {
        struct flock fl = range(kind == LockKind::Exclusive ? F_WRLCK : F_RDLCK, start, length);
        return ::fcntl(handle, F_OFD_SETLK, &fl) < 0 ? failure() : 0;
    }

    int unlock(int handle, std::int64_t start, std::int64_t length) override {
        struct flock fl = range(F_UNLCK, start, length);
        return ::fcntl(handle, F_OFD_SETLK, &fl) < 0 ? failure() : 0;
    }

    int isLockedElsewhere(int handle, LockKind kind, std::int64_t start,
                          std::int64_t length) override {
        struct flock fl = range(kind == LockKind::Exclusive ? F_WRLCK : F_RDLCK, start, length);
        if (::fcntl(handle, F_OFD_GETLK, &fl) < 0) return failure();
        return fl.l_type == F_UNLCK ? 0 : 1;
    }

    int listDirectory(const std::string& path, std::vector<std::string>& names) override {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
        if (!dir) return failure();
        names.clear();
        while (const dirent* entry = ::readdir(dir.get())) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(std::move(name));
        }
        return 0;
    }

    std::string currentDirectory() override {
        std::unique_ptr<char, void (*)(void*)> cwd(::getcwd(nullptr, 0), std::free);
        return cwd ? std::string(cwd.get()) : std::string(".");
    }

    int rename(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str()) < 0 ? failure() : 0;
    }

    int remove(const std::string& path) override {
        return ::unlink(path.c_str()) < 0 ? failure() : 0;
    }

    int syncDirectory(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return failure();
        int r = ::fsync(fd) < 0 ? failure() : 0;
        ::close(fd);
        return r;
    }

  private:
    static struct flock range(int type, std::int64_t start, std::int64_t length) {
        struct flock fl {};
        fl.l_type = static_cast<short>(type);
        fl.l_whence = SEEK_SET;
        fl.l_start = start;
        fl.l_len = length;
        fl.l_pid = 0;  // required by open-file-description locks
        return fl;
    }
};

}  // namespace

FileSystem& posixFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace qinghe::recordstore
