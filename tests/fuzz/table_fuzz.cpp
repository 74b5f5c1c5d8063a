// libFuzzer target: open and read a table from hostile bytes.
//
// Input: one flag byte (bit 0: open read-only; bit 1: open with the password
// "pw"), a little-endian uint16 length L, then L bytes of the main file and
// the rest as the auxiliary file. The target opens the table and reads every
// field of its first records, forwards and backwards. It must never crash,
// hang or allocate more than the files hold.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "recordstore/errors.h"
#include "recordstore/record_store.h"

namespace rs = qinghe::recordstore;

namespace {

constexpr int kMaxRecordsRead = 64;

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

void readEverything(rs::Registry& store) {
    auto info = store.currentTableInfo();
    int fields = info ? static_cast<int>(info->fields.size()) : 0;
    int count = store.recordCount();
    for (int i = 0; i < count && i < kMaxRecordsRead; ++i) {
        store.recordNumber();
        for (int f = 1; f <= fields; ++f) store.readField(f);
        if (!store.skip()) break;
    }
    store.goLast();
    for (int f = 1; f <= fields; ++f) store.readField(f);
    store.skip(-3);
    store.skip(-100);
    if (fields > 0) store.readField(1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static rs::Registry store;
    rs::setFatalErrorHandler([](const rs::FatalError&) { std::abort(); });
    bool readOnly = (data[0] & 1) != 0;
    bool password = (data[0] & 2) != 0;
    std::size_t mainLength = static_cast<std::size_t>(data[1] | data[2] << 8);
    data += 3;
    size -= 3;
    if (mainLength > size) mainLength = size;
    const std::string base = workDirectory() + "/t";
    writeFile(base + ".EDB", data, mainLength);
    writeFile(base + ".EDT", data + mainLength, size - mainLength);
    if (store.openTable(base, {}, readOnly, 1, password ? "pw" : "")) {
        readEverything(store);
        store.closeTable();
    }
    return 0;
}
