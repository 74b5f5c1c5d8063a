// An open held between the open of the table's file and its first lock
// while another process sorts the table into itself (the journal's sort):
// the file it opened is no longer the table. What it then does must reach
// the sorted table in place, never the replaced file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "support.h"
#include "testing/staged_file_system.h"

namespace qinghe::recordstore {
namespace {

using namespace testing;
using Stop = StagedFileSystem::Stop;

class ReplacedTable : public ::testing::Test {
  protected:
    TempDir dir;
    std::string table = dir.file("t");

    void SetUp() override {
        Registry store;
        std::vector<FieldSpec> fields{{"day", 3, 0}};
        ASSERT_TRUE(store.createTable(table, fields));
        ASSERT_TRUE(store.openTable(table));
        for (std::int32_t day : {3, 1, 2}) ASSERT_TRUE(store.appendRecord({Value{day}}));
        store.closeTable();
        ASSERT_EQ(::pipe(toParent_), 0);
        ASSERT_EQ(::pipe(fromParent_), 0);
    }
    void TearDown() override {
        for (int fd : {toParent_[0], toParent_[1], fromParent_[0], fromParent_[1]}) ::close(fd);
    }

    // Runs `operation` in a child whose first lock waits for the parent;
    // meanwhile the parent sorts the table into itself. The child's exit
    // status: 0 when the operation reported success.
    int operationBesideSort(const std::function<bool(Registry&)>& operation) {
        pid_t child = ::fork();
        if (child == 0) {
            StagedFileSystem fs(Stop::None, Stop::None, toParent_[1], fromParent_[0]);
            fs.stopAtFirstLock(Stop::Wait);
            Registry store(fs);
            ::_exit(operation(store) ? 0 : 1);
        }
        char c = 0;
        EXPECT_EQ(::read(toParent_[0], &c, 1), 1);  // the child has opened the file
        {
            Registry sorter;
            const std::vector<std::string> key{"day"};
            EXPECT_TRUE(sorter.openTable(table, {}, false, 4) && sorter.sortInto(table, key))
                << lastError();
        }
        EXPECT_EQ(::write(fromParent_[1], &c, 1), 1);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The days in file order, read with `password`.
    std::vector<int> days(const std::string& password) {
        Registry store;
        std::vector<int> out;
        EXPECT_TRUE(store.openTable(table, {}, true, 1, password)) << lastError();
        const int count = store.recordCount();
        for (int i = 0; i < count; ++i, store.skip()) {
            out.push_back(std::get<std::int32_t>(store.readField(1)));
        }
        store.closeTable();
        return out;
    }

    int toParent_[2] = {-1, -1};
    int fromParent_[2] = {-1, -1};
};

TEST_F(ReplacedTable, AnAppendReachesTheSortedTable) {
    EXPECT_EQ(operationBesideSort([&](Registry& store) {
                  return store.openTable(table) && store.appendRecord({Value{std::int32_t{9}}});
              }),
              0);
    EXPECT_EQ(days(""), (std::vector<int>{1, 2, 3, 9}));
}

TEST_F(ReplacedTable, APasswordChangeReachesTheSortedTable) {
    EXPECT_EQ(operationBesideSort([&](Registry& store) {
                  return store.openTable(table) && store.setPassword("b");
              }),
              0);
    EXPECT_EQ(days("b"), (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace qinghe::recordstore
