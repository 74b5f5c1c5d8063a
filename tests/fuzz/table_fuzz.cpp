// libFuzzer target: open, read and change a table made of hostile bytes,
// with a hostile undo log beside it.
//
// Input: a flag byte, then
//   bit 2 clear: a little-endian uint16 length L, L bytes of the main file,
//                the rest the auxiliary file;
//   bit 2 set:   uint16 L, uint16 J, L bytes of the main file, J bytes of an
//                undo log, the rest the auxiliary file.
// The undo log bytes are its version (one byte), its entry count (one byte)
// and its body; the target puts the header with the right length and
// checksum before them, so that the entries themselves are explored. Copies
// of the main and auxiliary bytes lie beside the table under temporary
// names, for rename entries to find.
// Flags: bit 0 open read-only; bit 1 with the password "pw"; bit 3 then
// append a record and delete it; bit 4 pack; bit 5 sort and copy into new
// tables; bit 6 change the password; bit 7 zap.
//
// The target opens the table and reads every field of its first records,
// forwards and backwards, then makes the changes the flags ask for, then
// opens the table once more. It must never crash, hang, write outside its
// folder or allocate more than the files hold.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "recordstore/errors.h"
#include "recordstore/record_store.h"
#include "testing/undo_log_bytes.h"

namespace rs = qinghe::recordstore;
namespace platform = qinghe::platform;

namespace {

constexpr int kMaxRecordsRead = 64;

enum Flag : std::uint8_t {
    kReadOnly = 1,
    kPassword = 2,
    kUndoLog = 4,
    kAppend = 8,
    kPack = 16,
    kSortCopy = 32,
    kRekey = 64,
    kZap = 128,
};

// The machine's file system without flushes: what is explored is the
// engine's logic, not the disk's speed.
class NoFlushFileSystem final : public platform::ForwardingFileSystem {
  public:
    int sync(int) override { return 0; }
    int syncDirectory(const std::string&) override { return 0; }
};

const std::string& workDirectory() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/qinghe-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made) std::abort();
        return std::string(made);
    }();
    return dir;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Takes a little-endian uint16 off the front of the input; 0 when too short.
std::size_t take16(const std::uint8_t*& data, std::size_t& size) {
    if (size < 2) return 0;
    auto value = static_cast<std::size_t>(data[0] | data[1] << 8);
    data += 2;
    size -= 2;
    return value;
}

// An undo log of the version in the first byte whose entries (their count in
// the second byte) are the rest, under a header with the right length and
// checksum.
std::vector<std::uint8_t> undoLog(const std::uint8_t* bytes, std::size_t size) {
    qinghe::recordstore::testing::UndoLogBytes log;
    if (size >= 2) {
        log.version(bytes[0]).raw(std::vector<std::uint8_t>(bytes + 2, bytes + size), bytes[1]);
    }
    return log.bytes();
}

void readEverything(rs::Registry& store) {
    auto info = store.currentTableInfo();
    int fields = info ? static_cast<int>(info->fields.size()) : 0;
    int count = store.recordCount();
    for (int i = 0; i < count && i < kMaxRecordsRead; ++i) {
        for (int f = 1; f <= fields; ++f) store.readField(f);
        if (!store.skip()) break;
    }
    for (int i = 0; i < kMaxRecordsRead; ++i) {
        if (!store.skip(-1)) break;
        if (fields > 0) store.readField(fields);
    }
    store.goLast();
    if (fields > 0) store.readField(1);
}

// The changes the flags ask for, each on whatever the one before left.
void change(rs::Registry& store, std::uint8_t flags, const std::string& base) {
    auto info = store.currentTableInfo();
    if (!info) return;
    if (flags & kAppend) {
        std::vector<std::optional<rs::Value>> values;
        for (const auto& field : info->fields) {
            rs::Value value = rs::zeroValue(field.type);
            if (auto* text = std::get_if<std::string>(&value)) *text = std::string(600, 'v');
            if (auto* bytes = std::get_if<rs::ByteArray>(&value)) bytes->assign(3, 0xAB);
            values.emplace_back(value);
        }
        store.appendRecord(values);
        store.deleteCurrent();
    }
    if (flags & kPack) store.pack();
    if (flags & kSortCopy) {
        std::vector<std::string> keys;
        for (const auto& field : info->fields) {
            if (field.type != rs::format::FieldType::Memo &&
                field.type != rs::format::FieldType::ByteArray) {
                keys.push_back(field.name);
            }
        }
        if (!keys.empty()) store.sortInto(base + "-sorted", keys);
        store.copyInto(base + "-copied");
    }
    if (flags & kRekey) store.setPassword((flags & kPassword) ? "" : "pw2");
    if (flags & kZap) store.zap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static NoFlushFileSystem fs;
    static rs::Registry store(fs);
    rs::setFatalErrorHandler([](const rs::FatalError&) { std::abort(); });
    const std::uint8_t flags = data[0];
    ++data;
    --size;
    std::size_t mainLength = take16(data, size);
    std::size_t logLength = (flags & kUndoLog) ? take16(data, size) : 0;
    mainLength = std::min(mainLength, size);
    logLength = std::min(logLength, size - mainLength);
    const std::uint8_t* log = data + mainLength;
    const std::uint8_t* aux = log + logLength;
    const std::size_t auxLength = size - mainLength - logLength;

    const std::string& dir = workDirectory();
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::filesystem::remove(entry.path());
    }
    const std::string base = dir + "/t";
    writeFile(base + ".EDB", data, mainLength);
    writeFile(base + ".EDT", aux, auxLength);
    if (flags & kUndoLog) {
        auto bytes = undoLog(log, logLength);
        writeFile(base + ".EDJ", bytes.data(), bytes.size());
        writeFile(base + ".EDB.~1-1", data, mainLength);
        writeFile(base + ".EDT.~1-1", aux, auxLength);
    }
    const bool readOnly = (flags & kReadOnly) != 0;
    const char* password = (flags & kPassword) ? "pw" : "";
    if (store.openTable(base, {}, readOnly, 1, password)) {
        readEverything(store);
        if (!readOnly) change(store, flags, base);
        store.closeTable();
    }
    // Whatever the changes left, the next open finds a table or refuses it.
    for (const char* again : {"", "pw", "pw2"}) {
        if (store.openTable(base, {}, false, 1, again)) {
            readEverything(store);
            store.closeTable();
            break;
        }
    }
    // Nothing was written outside the folder; the only files are the
    // table's, their temporaries and the new tables.
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename().string().rfind("t", 0) != 0) std::abort();
    }
    return 0;
}
