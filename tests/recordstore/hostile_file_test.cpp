// Small files with hostile headers (most of them sparse: a few kilobytes on
// disk that claim gigabytes): every operation refuses them or stops at what
// the file really holds, with a code, never an abort. How long each takes
// and how much memory is measured from the outside (see the stream notes);
// here the results are pinned.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "recordstore/format.h"
#include "support.h"

namespace qinghe::recordstore {
namespace {

using namespace testing;
using namespace format;
namespace fs = std::filesystem;

const FieldSpec kInt{"n", 3, 0};

class HostileFile : public ::testing::Test {
  public:
    TempDir dir;
    std::string table = dir.file("t");
    std::string mainPath = dir.file("t.EDB");
    std::string auxPath = dir.file("t.EDT");
    Registry store;

    void create(std::vector<FieldSpec> fields) { ASSERT_TRUE(store.createTable(table, fields)); }
    void append(std::initializer_list<std::optional<Value>> values,
                std::string_view password = {}) {
        ASSERT_TRUE(store.openTable(table, {}, false, 1, password));
        ASSERT_TRUE(store.appendRecord(values));
        store.closeTable();
    }
    // Changes the int32 at `offset` of a file in place.
    static void patch(const std::string& path, std::size_t offset, std::int32_t value) {
        Bytes bytes = readBytes(path);
        ASSERT_GE(bytes.size(), offset + 4);
        storeI32(&bytes[offset], value);
        writeBytes(path, bytes);
    }
    // The names of the directory's files.
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path())) names.insert(e.path().filename());
        return names;
    }
};

// The format's open takes a text field of any size that lies in its record;
// only createTable limits it to 1024 bytes.
TEST_F(HostileFile, TextFieldLargerThan1024InItsRecordOpens) {
    create({{"s", 10, 1000}});
    patch(mainPath, kRecordLengthOffset, 4 + 2000);
    patch(mainPath, kDescriptorsOffset + kFieldTextSizeOffset, 2000);
    ASSERT_TRUE(store.openTable(table)) << lastError();
    std::string text(1500, 'w');
    ASSERT_TRUE(store.appendRecord({Value{text}}));
    EXPECT_EQ(store.readField(1), Value{text});
    store.closeTable();
}

// A date-time that holds NaN reads as the zero date (no date), and sorts
// where that reads; one given as NaN is stored as the zero date.
TEST_F(HostileFile, DateTimeHoldingNaN) {
    create({{"d", 8, 0}, kInt});
    ASSERT_TRUE(store.openTable(table));
    for (auto [days, n] : {std::pair{5.0, 1}, {std::nan(""), 2}, {-3.0, 3}}) {
        ASSERT_TRUE(store.appendRecord({Value{Timestamp{days}}, Value{std::int32_t{n}}}));
    }
    store.closeTable();
    Bytes main = readBytes(mainPath);
    const std::size_t second = static_cast<std::size_t>(dataOffset(2)) + 16 + 4;
    EXPECT_EQ(loadDouble(&main[second]), 0.0) << "stored as given";
    storeDouble(&main[second], std::numeric_limits<double>::quiet_NaN());
    writeBytes(mainPath, main);

    ASSERT_TRUE(store.openTable(table));
    ASSERT_TRUE(store.skip());
    EXPECT_EQ(store.readField(1), Value{Timestamp{0.0}});
    const std::string key = "d";
    ASSERT_TRUE(store.sortInto(dir.file("sorted"), std::span(&key, 1)));
    store.closeTable();
    ASSERT_TRUE(store.openTable(dir.file("sorted")));
    std::vector<std::int32_t> order;
    for (int i = 0; i < 3; ++i, store.skip())
        order.push_back(std::get<std::int32_t>(store.readField(2)));
    EXPECT_EQ(order, (std::vector<std::int32_t>{3, 2, 1}));
    store.closeTable();
}

}  // namespace
}  // namespace qinghe::recordstore
