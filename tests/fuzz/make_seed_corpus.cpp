// Writes the seed corpus of table_fuzz from tables made by the engine itself:
// a journal with records, a table of every field type with memo and byte
// array chains, and the same table enciphered with the password "pw"; the
// table of every type again with the changes of the target's flags, and the
// journal with an undo log written by the engine's own writer.
// Usage: make_seed_corpus DIRECTORY
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "recordstore/cipher.h"
#include "recordstore/record_store.h"
#include "recordstore/table_file.h"
#include "recordstore/undo_log.h"

namespace rs = qinghe::recordstore;
namespace platform = qinghe::platform;
using Bytes = std::vector<std::uint8_t>;
using qinghe::literals::operator""_gbk;

namespace {

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The flags of table_fuzz.
constexpr std::uint8_t kReadOnly = 1, kPassword = 2, kUndoLog = 4, kAppend = 8, kPack = 16,
                       kSortCopy = 32, kRekey = 64, kZap = 128;
constexpr std::size_t kLogHeaderSize = 32;

void put16(Bytes& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// A seed: the flags, the lengths, the main file, the undo log as the target
// takes it (version, entry count, body) when `log` is not empty, the
// auxiliary file.
void writeSeed(const std::string& path, std::uint8_t flags, const Bytes& main, const Bytes& aux,
               const Bytes& log = {}) {
    Bytes seed{flags};
    put16(seed, main.size());
    if (!log.empty()) {
        put16(seed, log.size() - kLogHeaderSize + 2);
        seed[0] |= kUndoLog;
    }
    seed.insert(seed.end(), main.begin(), main.end());
    if (!log.empty()) {
        seed.push_back(log[4]);  // version
        seed.push_back(log[8]);  // entry count
        seed.insert(seed.end(), log.begin() + kLogHeaderSize, log.end());
    }
    seed.insert(seed.end(), aux.begin(), aux.end());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(seed.data()),
               static_cast<std::streamsize>(seed.size()));
}

void encipher(Bytes& main, Bytes& aux, const std::string& password) {
    std::copy(rs::format::kCipheredMagic.begin(), rs::format::kCipheredMagic.end(), main.begin());
    std::string check = rs::passwordCheckString(password);
    std::copy(check.begin(), check.end(), main.begin() + rs::format::kPasswordCheckOffset);
    rs::Cipher(password).apply(0, main);
    rs::Cipher(password).apply(0, aux);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::string out = argv[1];
    char pattern[] = "/tmp/qinghe-seeds-XXXXXX";
    std::string work = ::mkdtemp(pattern);
    rs::Registry store;

    std::vector<rs::FieldSpec> journal{
        {"日期"_gbk, 8, 20}, {"G1", 3, 20}, {"备注"_gbk, 10, 20}, {"星期"_gbk, 10, 6}};
    store.createTable(work + "/j", journal);
    store.openTable(work + "/j");
    for (int day = 0; day < 5; ++day) {
        store.appendRecord({rs::Value{rs::Timestamp{45000.0 + day}}, rs::Value{std::int32_t{day}},
                            rs::Value{"休息"_gbk}, rs::Value{"星期日"_gbk}});
    }
    store.goLast();
    store.deleteCurrent();
    store.closeTable();
    writeSeed(out + "/journal", 0, readFile(work + "/j.EDB"), {});
    writeSeed(out + "/journal-read-only", kReadOnly, readFile(work + "/j.EDB"), {});

    // The log a pack of the journal (named t, as the target names its table)
    // writes before it moves records: the length, the count and the records.
    std::rename((work + "/j.EDB").c_str(), (work + "/t.EDB").c_str());
    {
        rs::TableFile file(platform::posixFileSystem(), qinghe::systemClock());
        rs::UndoLog log(platform::posixFileSystem(), qinghe::systemClock(), work + "/t.EDB");
        if (!file.open(work + "/t.EDB", true, false, rs::ShareMode::DenyNone).ok() ||
            !log.saveLength(rs::TablePart::Main, file).ok() ||
            !log.saveRange(rs::TablePart::Main, file, 16, 8).ok() ||
            !log.saveRange(rs::TablePart::Main, file, 200, 1000).ok() || !log.commit().ok()) {
            return 1;
        }
    }
    writeSeed(out + "/journal-undo-log", 0, readFile(work + "/t.EDB"), {},
              readFile(work + "/t.EDJ"));

    std::vector<rs::FieldSpec> all{{"a", 1, 0}, {"b", 2, 0},  {"c", 3, 0},  {"d", 4, 0},
                                   {"e", 5, 0}, {"f", 6, 0},  {"g", 7, 0},  {"h", 8, 0},
                                   {"i", 9, 0}, {"j", 10, 8}, {"k", 11, 0}, {"l", 12, 0}};
    store.createTable(work + "/a", all);
    store.openTable(work + "/a");
    store.appendRecord({rs::Value{std::uint8_t{1}}, rs::Value{std::int16_t{2}},
                        rs::Value{std::int32_t{3}}, rs::Value{std::int64_t{4}}, rs::Value{5.0f},
                        rs::Value{6.0}, rs::Value{true}, rs::Value{rs::Timestamp{8.5}},
                        rs::Value{rs::Reference{9}}, rs::Value{std::string("text")},
                        rs::Value{rs::ByteArray(700, 0xAB)}, rs::Value{std::string(1100, 'm')}});
    store.appendRecord({std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                        std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                        rs::Value{rs::ByteArray(3, 1)}, rs::Value{std::string("short")}});
    store.closeTable();
    Bytes main = readFile(work + "/a.EDB");
    Bytes aux = readFile(work + "/a.EDT");
    writeSeed(out + "/all-types", 0, main, aux);
    writeSeed(out + "/all-types-changed", kAppend | kPack | kSortCopy, main, aux);
    writeSeed(out + "/all-types-rekeyed", kRekey | kZap, main, aux);
    encipher(main, aux, "pw");
    writeSeed(out + "/all-types-enciphered", kPassword, main, aux);
    writeSeed(out + "/all-types-enciphered-changed", kPassword | kPack | kSortCopy | kRekey, main,
              aux);

    for (const char* name : {"t.EDB", "t.EDJ", "a.EDB", "a.EDT"}) {
        std::remove((work + "/" + name).c_str());
    }
    ::rmdir(work.c_str());
    return 0;
}
