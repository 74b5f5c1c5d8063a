// One open file of a table (the main file or the auxiliary file): reads and
// writes through the table's cipher, the sharing mode of the open, and the
// byte-range locks with their hold counts.
//
// Sharing modes. Linux has none, so they are emulated between processes with
// shared open-file-description locks on single bytes far beyond the
// whole-table range (from offset 2^32): every open holds a lock on the
// "reading" byte, an open for writing on the "writing" byte, and an open that
// denies reading or writing on the matching "denying" byte. An open first
// takes its own bytes and then looks for a conflicting holder (someone
// reading where it denies reading, someone denying what it wants to do, ...);
// on a conflict it lets go of its bytes and fails with -12. Two opens that
// race can therefore both fail, but never both succeed against each other's
// mode. The bytes vanish with the open file, also when a process dies.
//
// Byte locks. A lock is counted per file: locking a byte that this file
// already holds raises its hold count, and the system lock goes with the last
// hold. The whole-table lock (offset 0, length 0x7FFFFFFF) nests too; it is
// taken over the gaps between the bytes already held, and while it is held,
// byte locks are granted without touching the file. A file opened in a mode
// that denies others reading (modes 2 and 4) takes no locks: every lock is
// granted at once. A file opened read-only takes shared locks only (the
// system allows no other on it). A lock that meets another process's lock is
// retried every 20 to 39 ms (the clock's tick count decides) until `waitMs`
// have passed; then it fails with -13. A lock that the file system does not
// support counts as granted; another failure gives -28 (lock) or -29
// (unlock), and unlocking a byte that is not held gives -29.
//
// Not thread-safe; the registry that owns the file serialises its use.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/clock.h"
#include "platform/file_system.h"
#include "recordstore/cipher.h"
#include "recordstore/status.h"

namespace qinghe::recordstore {

// What an open lets other processes do.
enum class ShareMode {
    DenyNone = 1,   // others may read and write
    DenyRead = 2,   // others may write, not read; no byte locks
    DenyWrite = 3,  // others may read, not write
    Exclusive = 4,  // others may neither read nor write; no byte locks
};

// The sharing mode of an openTable argument: 1 to 3 as given, any other
// value exclusive.
ShareMode shareModeOf(int mode);

class TableFile {
  public:
    TableFile(platform::FileSystem& fs, Clock& clock) : fs_(fs), clock_(clock) {}
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;
    ~TableFile() { close(); }

    // Opens `path` for reading (and writing) in a sharing mode; `create`
    // makes a missing file. The file error, or -12 for a sharing violation.
    Status open(const std::string& path, bool write, bool create, ShareMode share);
    // Creates a new file beside `target` under a temporary name
    // (platform/temporary_files.h), opened for writing with exclusive
    // sharing; `path` names it.
    Status createTemporaryBeside(const std::string& target, std::string& path);
    // Gives the file the mode, owner and group of the file at `target` that
    // it is to replace (platform/whole_file.h).
    Status keepModeOf(const std::string& target);
    void close();
    bool isOpen() const { return handle_ >= 0; }
    bool writable() const { return writable_; }

    // The cipher that reads decipher with and the one that writes encipher
    // with; null for a plain file.
    void setCiphers(std::shared_ptr<Cipher> read, std::shared_ptr<Cipher> write);
    bool enciphered() const { return readCipher_ != nullptr; }
    const std::shared_ptr<Cipher>& readCipher() const { return readCipher_; }
    const std::shared_ptr<Cipher>& writeCipher() const { return writeCipher_; }

    // Reads up to buffer.size() bytes at `offset`; `got` says how many were
    // read (fewer only at the end of the file, or before a failure).
    Status read(std::int64_t offset, std::span<std::uint8_t> buffer, std::size_t& got);
    // Reads exactly buffer.size() bytes: `shortCode` at the end of the file,
    // or the file error.
    Status readExact(std::int64_t offset, std::span<std::uint8_t> buffer, int shortCode);
    // Writes all of `data` at `offset`: the file error (-14 when the file
    // system takes no more bytes).
    Status write(std::int64_t offset, std::span<const std::uint8_t> data);
    // The same, past the cipher: the bytes as they lie on disk (the undo log
    // saves and restores these, so it never holds deciphered text).
    Status readRaw(std::int64_t offset, std::span<std::uint8_t> buffer, std::size_t& got);
    Status writeRaw(std::int64_t offset, std::span<const std::uint8_t> data);

    Status size(std::int64_t& length);
    // Bytes of the file in holes (platform::FileSystem::holeBytes).
    Status holeBytes(std::int64_t& bytes);
    Status truncate(std::int64_t length);
    // Flushes the file to the disk. close() does it for a file that was
    // written to or cut since it was opened or last synced, without a word
    // when it fails; closing a table asks flushWritten() first.
    Status sync();
    // sync() when the file was written to or cut since it was opened or last
    // synced.
    Status flushWritten();
    Status identify(platform::FileId& id);

    // -12 when another open file (of this process or another) holds this
    // file open, whatever its sharing mode; else success.
    Status requireSoleOpen();

    Status lockByte(std::int64_t offset, platform::LockKind kind, int waitMs);
    Status unlockByte(std::int64_t offset);
    // Unlocks two bytes (first < second), with one system call when this
    // file holds nothing between them.
    Status unlockBytes(std::int64_t first, std::int64_t second);
    Status lockWhole(platform::LockKind kind, int waitMs);
    Status unlockWhole();
    // A range lock taken and given back within one operation (reading ahead
    // a run of records). Not counted; bytes already held are left as they are.
    Status lockRange(std::int64_t start, std::int64_t length, platform::LockKind kind, int waitMs);
    Status unlockRange(std::int64_t start, std::int64_t length);

    platform::FileSystem& fileSystem() const { return fs_; }
    bool takesLocks() const { return takesLocks_; }
    bool holdsWhole() const { return wholeCount_ > 0; }

  private:
    struct Held {
        int count = 0;
        platform::LockKind kind = platform::LockKind::Shared;
    };

    // Takes over a handle just opened: the open's sharing bytes.
    Status attach(int handle, bool write, ShareMode share);
    Status registerShare(bool write, ShareMode share);
    platform::LockKind usable(platform::LockKind kind) const {
        return writable_ ? kind : platform::LockKind::Shared;
    }
    // Locks or unlocks [start, end) without the bytes held singly: 0, or the
    // -errno of the file system's call that failed.
    int lockGaps(std::int64_t start, std::int64_t end, platform::LockKind kind);
    int unlockGaps(std::int64_t start, std::int64_t end);
    // Calls `attempt` (a lock call: 0 or -errno) until it succeeds or fails
    // otherwise than by another holder's lock, retrying every 20 to 39 ms
    // until `waitMs` have passed (then -13).
    template <typename Attempt>
    Status retrying(int waitMs, Attempt attempt);

    platform::FileSystem& fs_;
    Clock& clock_;
    int handle_ = -1;
    bool writable_ = false;
    bool dirty_ = false;  // written to or cut since the last sync
    bool takesLocks_ = true;
    std::shared_ptr<Cipher> readCipher_;
    std::shared_ptr<Cipher> writeCipher_;
    std::vector<std::uint8_t> scratch_;  // enciphered copy of what is written
    std::map<std::int64_t, Held> held_;
    int wholeCount_ = 0;
};

}  // namespace qinghe::recordstore
