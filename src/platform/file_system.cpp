#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace qinghe::platform {
namespace {

int failure() {
    return -errno;
}

// Reads `fd` until its end, at most `limit` bytes (-EFBIG when it gives
// more), into `bytes`: 0 or -errno.
int readToEnd(int fd, std::size_t limit, std::string& bytes) {
    int result = 0;
    std::string read;
    char buffer[65536];
    while (result == 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0 && errno != EINTR) result = failure();
        if (n > 0) read.append(buffer, static_cast<std::size_t>(n));
        if (read.size() > limit) result = -EFBIG;
    }
    if (result == 0) bytes = std::move(read);
    return result;
}

class PosixFileSystem final : public FileSystem {
  public:
    int open(const std::string& path, bool write, bool create) override {
        // Without O_NONBLOCK the open of a FIFO would wait for its other end;
        // the check below refuses it at once instead.
        int flags = (write ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
        if (create) flags |= O_CREAT | O_EXCL | O_NOFOLLOW;
        int fd;
        do {
            fd = ::open(path.c_str(), flags, kNewFileMode);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) return failure();
        struct stat st {};
        int refused = ::fstat(fd, &st) < 0 ? failure() : 0;
        if (refused == 0 && !S_ISREG(st.st_mode)) refused = S_ISDIR(st.st_mode) ? -EISDIR : -EINVAL;
        // O_NONBLOCK means nothing for a regular file; it goes, so that it
        // never comes to mean something.
        if (refused == 0 && ::fcntl(fd, F_SETFL, 0) < 0) refused = failure();
        if (refused < 0) {
            ::close(fd);
            return refused;
        }
        return fd;
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

    int setModeAndOwner(int handle, std::uint32_t mode, std::uint32_t owner,
                        std::uint32_t group) override {
        // Another owner needs privileges, another group membership of it:
        // what the system refuses is kept as it is.
        if (::fchown(handle, owner, group) < 0 && errno == EPERM) {
            ::fchown(handle, static_cast<uid_t>(-1), group);
        }
        // After the owner: a change of owner clears the set-id bits.
        return ::fchmod(handle, mode & 07777) < 0 ? failure() : 0;
    }

    int status(const std::string& path, FileStatus& status) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) < 0) return failure();
        status.kind = S_ISREG(st.st_mode)   ? FileKind::Regular
                      : S_ISDIR(st.st_mode) ? FileKind::Directory
                                            : FileKind::Other;
        status.id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
        status.mode = st.st_mode & 07777;
        status.owner = st.st_uid;
        status.group = st.st_gid;
        status.size = st.st_size;
        status.modified = st.st_mtim.tv_sec;
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

    int readLink(const std::string& path, std::string& target) override {
        std::string buffer(256, '\0');
        while (true) {
            const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
            if (n < 0) return failure();
            if (static_cast<std::size_t>(n) < buffer.size()) {
                buffer.resize(static_cast<std::size_t>(n));
                target = std::move(buffer);
                return 0;
            }
            buffer.resize(buffer.size() * 2);  // the text may have been cut
        }
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

    int writeStream(const std::string& path, std::span<const std::uint8_t> bytes) override {
        const int fd = openStream(path, O_WRONLY);
        if (fd < 0) return fd;
        int result = 0;
        for (std::size_t done = 0; result == 0 && done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno != EINTR) result = failure();
            if (n > 0) done += static_cast<std::size_t>(n);
        }
        if (::close(fd) < 0 && result == 0) result = failure();
        return result;
    }

    int readStream(const std::string& path, std::size_t limit, std::string& bytes) override {
        const int fd = openStream(path, O_RDONLY);
        if (fd < 0) return fd;
        const int result = readToEnd(fd, limit, bytes);
        ::close(fd);
        return result;
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

    int createDirectory(const std::string& path) override {
        return ::mkdir(path.c_str(), kNewDirectoryMode) < 0 ? failure() : 0;
    }

    std::string currentDirectory() override {
        std::unique_ptr<char, void (*)(void*)> cwd(::getcwd(nullptr, 0), std::free);
        return cwd ? std::string(cwd.get()) : std::string(".");
    }

    int rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) < 0 ? failure() : 0;
    }

    int remove(const std::string& path) override {
        return ::unlink(path.c_str()) < 0 ? failure() : 0;
    }

    int removeDirectory(const std::string& path) override {
        return ::rmdir(path.c_str()) < 0 ? failure() : 0;
    }

    int syncDirectory(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return failure();
        int r = ::fsync(fd) < 0 ? failure() : 0;
        ::close(fd);
        return r;
    }

  private:
    // Opens the existing file at `path` that is not a regular file (waiting
    // for a FIFO's other end): the descriptor, or -EINVAL for a regular file,
    // -EISDIR for a folder, or the error of the open.
    static int openStream(const std::string& path, int access) {
        int fd;
        do {
            fd = ::open(path.c_str(), access | O_CLOEXEC | O_NOCTTY);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) return failure();
        struct stat st {};
        int refused = ::fstat(fd, &st) < 0 ? failure() : 0;
        if (refused == 0 && S_ISREG(st.st_mode)) refused = -EINVAL;
        if (refused == 0 && S_ISDIR(st.st_mode)) refused = -EISDIR;
        if (refused == 0) return fd;
        ::close(fd);
        return refused;
    }

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

int readStandardInput(std::size_t limit, std::string& bytes) {
    return readToEnd(STDIN_FILENO, limit, bytes);
}

}  // namespace qinghe::platform
