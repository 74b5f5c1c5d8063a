// A pack in one process, stopped at a chosen point while another process
// opens the table: the open waits for a live writer, and once it holds the
// table it looks for the undo log of a writer that died meanwhile.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "support.h"
#include "testing/staged_file_system.h"

namespace qinghe::recordstore {
namespace {

using namespace testing;

class Interleaving : public ::testing::Test {
  protected:
    TempDir dir;
    std::string table = dir.file("t");
    static constexpr int kRecords = 12;

    void SetUp() override {
        Registry store;
        std::vector<FieldSpec> fields{{"who", 3, 0}, {"note", 12, 0}};
        ASSERT_TRUE(store.createTable(table, fields));
        ASSERT_TRUE(store.openTable(table));
        for (int i = 1; i <= kRecords; ++i) {
            ASSERT_TRUE(store.appendRecord({Value{std::int32_t{i}}, Value{memo(i)}}));
            if (i % 3 == 0) {
                ASSERT_TRUE(store.deleteCurrent());
            }
        }
        store.closeTable();
    }
    static std::string memo(int who) {
        return std::string(static_cast<std::size_t>(who) * 90, 'm');
    }

    // The table's records by who (negated when deleted), memos checked.
    std::vector<int> rows() {
        Registry store;
        std::vector<int> out;
        EXPECT_TRUE(store.openTable(table)) << lastError();
        int count = store.recordCount();
        for (int i = 0; i < count; ++i, store.skip()) {
            int who = std::get<std::int32_t>(store.readField(1));
            EXPECT_EQ(std::get<std::string>(store.readField(2)), memo(who));
            out.push_back(store.recordNumber() < 0 ? -who : who);
        }
        store.closeTable();
        return out;
    }
    static std::vector<int> before() {
        std::vector<int> all;
        for (int i = 1; i <= kRecords; ++i) all.push_back(i % 3 == 0 ? -i : i);
        return all;
    }
    static std::vector<int> afterPack() {
        std::vector<int> kept;
        for (int i = 1; i <= kRecords; ++i) {
            if (i % 3 != 0) kept.push_back(i);
        }
        return kept;
    }

    // Starts a child that packs the table through a staged file system;
    // returns its pid. `waitForChild` then blocks until the child stops.
    pid_t startPack(StagedFileSystem::Stop atFirstChange, StagedFileSystem::Stop afterUndoLog) {
        EXPECT_EQ(::pipe(toParent_), 0);
        EXPECT_EQ(::pipe(fromParent_), 0);
        pid_t child = ::fork();
        if (child == 0) {
            StagedFileSystem fs(atFirstChange, afterUndoLog, toParent_[1], fromParent_[0]);
            Registry store(fs);
            bool packed = store.openTable(table) && store.pack();
            ::_exit(packed ? 0 : 1);
        }
        return child;
    }
    void waitForChild() {
        char c = 0;
        ASSERT_EQ(::read(toParent_[0], &c, 1), 1);
    }
    void letChildGoOn() {
        char c = 'g';
        ASSERT_EQ(::write(fromParent_[1], &c, 1), 1);
    }
    static int exitStatus(pid_t child) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void TearDown() override {
        for (int fd : {toParent_[0], toParent_[1], fromParent_[0], fromParent_[1]}) {
            if (fd >= 0) ::close(fd);
        }
    }

    int toParent_[2] = {-1, -1};
    int fromParent_[2] = {-1, -1};
};

using Stop = StagedFileSystem::Stop;

// An open while a pack is under way (its undo log in place) waits for the
// pack as for its whole-table lock, instead of failing at once with -12.
TEST_F(Interleaving, OpenWaitsForAPackUnderWay) {
    pid_t child = startPack(Stop::None, Stop::Wait);
    waitForChild();
    bool opened = false;
    int code = 0;
    std::thread opener([&] {
        Registry store;
        opened = store.openTable(table);
        code = lastError();
        store.closeTable();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    letChildGoOn();
    opener.join();
    EXPECT_TRUE(opened) << code;
    EXPECT_EQ(exitStatus(child), 0);
    EXPECT_EQ(rows(), afterPack());
}

// An open that waited for the whole-table lock of a pack that then died
// must apply the pack's undo log once it holds the lock: else it works on
// the half-packed file, and its append is undone by the next open.
TEST_F(Interleaving, OpenThatWaitedForAPackThatDiedRecoversFirst) {
    pid_t child = startPack(Stop::Wait, Stop::Die);
    waitForChild();  // the pack holds the table and has written nothing
    bool appended = false;
    int code = 0;
    std::thread opener([&] {
        Registry store;
        appended = store.openTable(table) &&
                   store.appendRecord({Value{std::int32_t{99}}, Value{memo(99)}});
        code = lastError();
        store.closeTable();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    letChildGoOn();
    opener.join();
    EXPECT_EQ(exitStatus(child), StagedFileSystem::kDied);
    ASSERT_TRUE(appended) << code;
    auto want = before();
    want.push_back(99);
    EXPECT_EQ(rows(), want);
}

}  // namespace
}  // namespace qinghe::recordstore
