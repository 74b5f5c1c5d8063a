// Names that meet the engine's side files (the auxiliary file, the undo
// log, temporary files), long names, and the temporary files that an
// interrupted operation leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "durability_scenarios.h"
#include "recordstore/check.h"

namespace qinghe::recordstore::testing {
namespace {

namespace fs = std::filesystem;

class SideFiles : public ::testing::Test {
  protected:
    TempDir dir;
    std::vector<int> ids = {4, 8, 15, 16, 23, 42};

    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path())) names.insert(e.path().filename());
        return names;
    }
    std::set<std::string> temporaries() const {
        std::set<std::string> names;
        for (const auto& name : files()) {
            if (name.find(".~") != std::string::npos) names.insert(name);
        }
        return names;
    }
};

// 加班.bak pairs with 加班.EDT, the auxiliary file of the table 加班: a sort,
// copy or create that needs an auxiliary file there is refused (-50), and
// 加班's memos stay its own, open or not.
TEST_F(SideFiles, AnotherTablesAuxiliaryFileIsNotReplaced) {
    const std::string table = dir.file("加班"_gbk);
    const std::string bak = "加班.bak"_gbk;
    makeSampleTable(table, ids, true);
    auto rows = rowsOf(table, "", true);
    Registry store;
    ASSERT_TRUE(store.openTable(table));
    const std::string key = "日期"_gbk;
    EXPECT_FALSE(store.sortInto(dir.file(bak), std::span(&key, 1), {}));
    EXPECT_EQ(lastError(), -50);
    EXPECT_FALSE(store.copyInto(dir.file(bak)));
    EXPECT_EQ(lastError(), -50);
    store.closeTable();
    std::vector<FieldSpec> fields{{"备注"_gbk, 12, 0}};
    EXPECT_FALSE(store.createTable(dir.file(bak), fields));
    EXPECT_EQ(lastError(), -50);
    EXPECT_EQ(rowsOf(table, "", true), rows);
    EXPECT_FALSE(fs::exists(dir.file("加班.bak")));

    // Without memo or byte-array fields the copy needs no auxiliary file.
    makeSampleTable(dir.file("日志"_gbk), ids, false);
    ASSERT_TRUE(store.openTable(dir.file("日志"_gbk)));
    EXPECT_TRUE(store.copyInto(dir.file("日志.bak"_gbk)));
    store.closeTable();
}

// A table may not be created under the name of a side file: its own undo
// log or auxiliary file would be the table itself, and a temporary name is
// removed as stale. The names are refused (-4) and nothing is written.
TEST_F(SideFiles, SideFileNamesAreRefused) {
    const std::string table = dir.file("加班");
    makeSampleTable(table, ids, false);
    const auto before = files();
    Registry store;
    std::vector<FieldSpec> memo{{"m", 12, 0}}, plain{{"n", 3, 0}};
    ASSERT_TRUE(store.openTable(table));
    EXPECT_FALSE(store.copyInto(dir.file("加班.EDJ")));
    EXPECT_EQ(lastError(), -4);
    const std::string key = "G1";
    EXPECT_FALSE(store.sortInto(dir.file("t.edj"), std::span(&key, 1), {}));
    EXPECT_EQ(lastError(), -4);
    store.closeTable();
    for (const char* name : {"t.EDJ", "u.EDT", "u.edt", "t.EDB.~1-2"}) {
        EXPECT_FALSE(store.createTable(dir.file(name), memo)) << name;
        EXPECT_EQ(lastError(), -4) << name;
        EXPECT_FALSE(store.createTable(dir.file(name), plain)) << name;
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(rowsOf(table, "", false), rowsFor(ids, {}));
}

// A table name as long as a file name may be (245 bytes and its extension)
// can be created, packed, re-keyed, sorted and copied: the temporary names
// beside it stay within the 255 bytes a name may have.
TEST_F(SideFiles, LongNamesWork) {
    std::string title;
    while (title.size() + 3 <= 245) title += "长";
    title += std::string(245 - title.size(), 'x');
    ASSERT_EQ(title.size(), 245u);
    const std::string table = dir.path() + "/" + gbk::fromUtf8(title).text;
    std::string other = title;
    other.back() = 'y';
    const std::string target = dir.path() + "/" + gbk::fromUtf8(other).text;
    std::vector<FieldSpec> fields{{"n", 3, 0}, {"m", 12, 0}};
    Registry store;
    ASSERT_TRUE(store.createTable(table, fields)) << lastError();
    ASSERT_TRUE(store.openTable(table)) << lastError();
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(store.appendRecord({Value{std::int32_t{i}}, Value{std::string(600, 'm')}}));
    }
    ASSERT_TRUE(store.deleteCurrent());
    EXPECT_TRUE(store.pack()) << lastError();
    EXPECT_TRUE(store.setPassword("pw")) << lastError();
    const std::string key = "n";
    EXPECT_TRUE(store.sortInto(target, std::span(&key, 1), {})) << lastError();
    EXPECT_TRUE(store.copyInto(target)) << lastError();
    store.closeTable();
    ASSERT_TRUE(store.openTable(target, {}, true, 1, "pw")) << lastError();
    EXPECT_EQ(store.recordCount(), 2);
    store.closeTable();
    EXPECT_TRUE(temporaries().empty());
}

// An operation whose temporary file meets a link (another process put one
// at that name first) creates a file of its own instead of writing through
// the link.
TEST_F(SideFiles, TemporaryFileMetByALinkIsNotWrittenThrough) {
    // Puts a link at the name of every other file about to be created.
    class LinkFirst final : public ForwardingFileSystem {
      public:
        explicit LinkFirst(std::string victim) : victim_(std::move(victim)) {}
        int open(const std::string& path, bool write, bool create) override {
            if (create && ++creates % 2 == 1 && ::symlink(victim_.c_str(), path.c_str()) == 0) {
                ++links;
            }
            return ForwardingFileSystem::open(path, write, create);
        }
        int creates = 0;
        int links = 0;

      private:
        std::string victim_;
    };
    const Bytes precious = {'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'};
    writeBytes(dir.file("victim"), precious);
    const std::string table = dir.file("t");
    makeSampleTable(table, ids, true);
    LinkFirst linking(dir.file("victim"));
    Registry store(linking);
    std::vector<FieldSpec> fields = sampleFields(true);
    ASSERT_TRUE(store.createTable(dir.file("new"), fields)) << lastError();
    ASSERT_TRUE(store.openTable(table)) << lastError();
    ASSERT_TRUE(store.deleteCurrent());
    EXPECT_TRUE(store.pack()) << lastError();
    EXPECT_TRUE(store.setPassword("pw")) << lastError();
    EXPECT_TRUE(store.copyInto(dir.file("copy"))) << lastError();
    store.closeTable();
    EXPECT_GT(linking.links, 0);
    EXPECT_EQ(readBytes(dir.file("victim")), precious);
    auto rows = rowsFor(ids, {});
    rows.erase(rows.begin());
    EXPECT_EQ(rowsOf(table, "pw", true), rows);
    EXPECT_EQ(rowsOf(dir.file("copy"), "pw", true), rowsFor({8, 15, 16, 23, 42}, {}));
    EXPECT_EQ(rowsOf(dir.file("new"), "", true), std::vector<Row>{});
}

// Crashes the operation at every changing call in turn (a child process
// each time, over copies of the table in `pristine`) and calls `after` with
// the directory the crash left.
template <typename Operation, typename After>
void crashEverywhere(const std::string& pristine, Operation operation, After after) {
    std::int64_t calls = 0;
    {
        TempDir probe;
        copyFiles(pristine, probe.path());
        FaultFileSystem fs;
        Registry store(fs);
        fs.arm(Fault::Crash, INT64_MAX);  // counts the calls, fails none
        ASSERT_TRUE(operation(store, probe.path()));
        calls = fs.calls();
    }
    for (std::int64_t n = 1; n <= calls; ++n) {
        SCOPED_TRACE("crash at call " + std::to_string(n) + " of " + std::to_string(calls));
        TempDir work;
        copyFiles(pristine, work.path());
        pid_t child = ::fork();
        if (child == 0) {
            FaultFileSystem fs;
            Registry store(fs);
            fs.arm(Fault::Crash, n);
            ::_exit(operation(store, work.path()) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        after(work.path());
        if (::testing::Test::HasFatalFailure()) return;
    }
}

// The temporary files of a copy or sort cut short by a crash are reported
// by table check, and removed by the next copy to that destination, which
// then leaves only the table's files.
TEST_F(SideFiles, TemporariesOfAnInterruptedCopyAreRemoved) {
    TempDir pristine;
    makeSampleTable(tablePath(pristine.path()), ids, true);
    makeSampleTable(pristine.path() + "/backup", {1, 2}, true);
    auto copy = [](Registry& store, const std::string& at) {
        return store.openTable(tablePath(at)) && store.copyInto(at + "/backup");
    };
    crashEverywhere(pristine.path(), copy, [&](const std::string& at) {
        bool left = false;
        for (const auto& e : fs::directory_iterator(at)) {
            left = left || e.path().filename().string().find(".~") != std::string::npos;
        }
        if (left) {
            bool reported = false;
            for (const auto& p : checkTable(posixFileSystem(), at + "/backup", "").problems) {
                reported = reported || p.find("temporary") != std::string::npos;
            }
            EXPECT_TRUE(reported);
        }
        Registry store;
        ASSERT_TRUE(copy(store, at)) << lastError();
        store.closeTable();
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(at)) names.insert(e.path().filename());
        EXPECT_EQ(names, (std::set<std::string>{"t.EDB", "t.EDT", "backup.EDB", "backup.EDT"}));
    });
}

// The copy of a table's files that a password change writes into its undo
// log before it commits is removed by the next open for writing, when the
// change was cut short before the log was in place.
TEST_F(SideFiles, TemporariesOfAnInterruptedPasswordChangeAreRemoved) {
    TempDir pristine;
    makeSampleTable(tablePath(pristine.path()), ids, true);
    auto rekey = [](Registry& store, const std::string& at) {
        return store.openTable(tablePath(at)) && store.setPassword("pw");
    };
    crashEverywhere(pristine.path(), rekey, [&](const std::string& at) {
        Registry store;
        bool opened =
            store.openTable(tablePath(at)) || store.openTable(tablePath(at), {}, false, 1, "pw");
        ASSERT_TRUE(opened) << lastError();
        store.closeTable();
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(at)) names.insert(e.path().filename());
        EXPECT_EQ(names, (std::set<std::string>{"t.EDB", "t.EDT"}));
    });
}

}  // namespace
}  // namespace qinghe::recordstore::testing
