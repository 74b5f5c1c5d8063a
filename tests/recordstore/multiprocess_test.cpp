// Two or more real processes on one table: concurrent appends, the sharing
// modes, and a password change beside the other's open.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <thread>

#include "support.h"

extern char** environ;

namespace qinghe::recordstore {
namespace {

using namespace testing;

// A child process of store_child with pipes to its standard input and output.
class Child {
  public:
    explicit Child(std::vector<std::string> args) {
        int in[2], out[2];
        EXPECT_EQ(::pipe(in), 0);
        EXPECT_EQ(::pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), STORE_CHILD_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, STORE_CHILD_PATH, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        stdin_ = in[1];
        stdout_ = ::fdopen(out[0], "r");
    }
    ~Child() {
        closeInput();
        if (pid_ > 0) wait();
        if (stdout_) std::fclose(stdout_);
    }
    std::string readLine() {
        char buffer[256] = {};
        if (!std::fgets(buffer, sizeof buffer, stdout_)) return {};
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        return line;
    }
    // Sends one line and returns the line the child answers with.
    std::string ask(const std::string& line) {
        std::string text = line + "\n";
        EXPECT_EQ(::write(stdin_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        return readLine();
    }
    std::vector<std::string> readAllLines() {
        std::vector<std::string> lines;
        for (std::string line = readLine(); !line.empty(); line = readLine()) lines.push_back(line);
        return lines;
    }
    void closeInput() {
        if (stdin_ >= 0) ::close(stdin_);
        stdin_ = -1;
    }
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    FILE* stdout_ = nullptr;
};

class MultiProcess : public ::testing::Test {
  protected:
    TempDir dir;
    Registry store;
    std::string table = dir.file("t");
    void SetUp() override {
        std::vector<FieldSpec> fields{{"who", 3, 0}, {"seq", 3, 0}, {"note", 12, 0}};
        ASSERT_TRUE(store.createTable(table, fields));
    }
    void setPassword(const std::string& password) {
        ASSERT_TRUE(store.openTable(table));
        ASSERT_TRUE(store.setPassword(password));
        store.closeTable();
    }
    // Every record of the table, as "who seq", checked against its memo (when
    // it has one).
    std::multiset<std::string> rowsWith(const std::string& password) {
        std::multiset<std::string> rows;
        EXPECT_TRUE(store.openTable(table, {}, true, 1, password)) << lastError();
        int count = store.recordCount();
        for (int i = 0; i < count; ++i, store.skip()) {
            auto who = std::to_string(std::get<std::int32_t>(store.readField(1)));
            auto seq = std::to_string(std::get<std::int32_t>(store.readField(2)));
            auto memo = std::get<std::string>(store.readField(3));
            if (!memo.empty()) {
                EXPECT_EQ(memo, who + "-" + seq);
            }
            rows.insert(who + " " + seq);
        }
        store.closeTable();
        return rows;
    }
    std::string openInChild(int mode, bool readOnly = false) {
        std::vector<std::string> args{"open", table, std::to_string(mode)};
        if (readOnly) args.push_back("ro");
        Child c(args);
        return c.readLine();
    }
};

TEST_F(MultiProcess, ConcurrentAppendsLoseNothing) {
    constexpr int kChildren = 4, kEach = 500;
    {
        std::vector<std::unique_ptr<Child>> children;
        for (int who = 0; who < kChildren; ++who) {
            children.push_back(std::make_unique<Child>(std::vector<std::string>{
                "append", table, std::to_string(who), std::to_string(kEach)}));
        }
        for (auto& c : children) EXPECT_EQ(c->wait(), 0);
    }
    ASSERT_TRUE(store.openTable(table, {}, true));
    ASSERT_EQ(store.recordCount(), kChildren * kEach);
    std::set<std::pair<int, int>> seen;
    std::set<int> numbers;
    for (int i = 0; i < kChildren * kEach; ++i) {
        int who = std::get<std::int32_t>(store.readField(1));
        int seq = std::get<std::int32_t>(store.readField(2));
        EXPECT_EQ(std::get<std::string>(store.readField(3)),
                  std::to_string(who) + "-" + std::to_string(seq));
        seen.insert({who, seq});
        numbers.insert(store.recordNumber());
        store.skip();
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kChildren * kEach));
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kChildren * kEach));
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), kChildren * kEach);
    auto info = store.currentTableInfo();
    EXPECT_EQ(info->nextNumber, kChildren * kEach + 1);
    EXPECT_EQ(readBytes(dir.file("t.EDB")).size(),
              static_cast<std::size_t>(info->dataOffset + kChildren * kEach * info->recordLength));
}

TEST_F(MultiProcess, ExclusiveOpenKeepsOthersOut) {
    Child holder({"hold", table, "4"});
    ASSERT_EQ(holder.readLine(), "ready");
    EXPECT_EQ(openInChild(1), "-12");
    EXPECT_EQ(openInChild(1, true), "-12");
    EXPECT_FALSE(store.openTable(table));
    EXPECT_EQ(lastError(), -12);
    holder.closeInput();
    holder.wait();
    EXPECT_EQ(openInChild(1), "0");
}

TEST_F(MultiProcess, DefaultOpensShare) {
    Child holder({"hold", table, "1"});
    ASSERT_EQ(holder.readLine(), "ready");
    EXPECT_EQ(openInChild(1), "0");
    EXPECT_EQ(openInChild(1, true), "0");
    EXPECT_EQ(openInChild(3, true), "-12");  // denies writing, but the holder writes
    EXPECT_EQ(openInChild(5), "-12");        // any other mode is exclusive
    ASSERT_TRUE(store.openTable(table));
    EXPECT_TRUE(store.appendRecord({Value{std::int32_t{1}}}));
}

TEST_F(MultiProcess, DenyWriteAndDenyRead) {
    {
        Child holder({"hold", table, "3", "ro"});
        ASSERT_EQ(holder.readLine(), "ready");
        EXPECT_EQ(openInChild(1), "-12");      // wants to write
        EXPECT_EQ(openInChild(1, true), "0");  // only reads
        EXPECT_EQ(openInChild(3, true), "0");  // reads and denies writing too
    }
    {
        Child holder({"hold", table, "2"});
        ASSERT_EQ(holder.readLine(), "ready");
        EXPECT_EQ(openInChild(1, true), "-12");
    }
}

// A password change while another process has the table open would leave
// that process with the old key: its next append would decipher the count
// with it and write at a garbage offset. The change is refused instead.
TEST_F(MultiProcess, PasswordChangeWaitsForTheOtherOpensToClose) {
    setPassword("a");
    Child other({"session", table, "a"});
    ASSERT_EQ(other.readLine(), "0");
    ASSERT_TRUE(store.openTable(table, {}, false, 1, "a"));
    EXPECT_FALSE(store.setPassword("b"));
    EXPECT_EQ(lastError(), error::kSharingViolation);
    store.closeTable();
    EXPECT_EQ(other.ask("append 7 1"), "0");
    EXPECT_EQ(other.ask("passwd b"), "0");  // alone now: the change goes through
    EXPECT_EQ(other.ask("append 7 2"), "0");
    other.closeInput();
    other.wait();
    EXPECT_EQ(rowsWith("b"), (std::multiset<std::string>{"7 1", "7 2"}));
}

// The two loops: one process appends through opens of its own while
// another changes the password back and forth. Every append that returned is
// in the table, whole, and nothing else is.
TEST_F(MultiProcess, AppendsBesidePasswordChangesLoseNothing) {
    setPassword("a");
    std::vector<std::string> acked;
    std::string changed;
    {
        Child appender({"append-loop", table, "60", "10", "a", "b"});
        Child rekeyer({"rekey-loop", table, "100", "a", "b"});
        acked = appender.readAllLines();
        changed = rekeyer.readLine();
        EXPECT_EQ(appender.wait(), 0);
        EXPECT_EQ(rekeyer.wait(), 0);
    }
    EXPECT_GT(acked.size(), 0u);
    EXPECT_NE(changed, "0");
    std::multiset<std::string> want(acked.begin(), acked.end());
    std::string password = store.openTable(table, {}, true, 1, "a") ? "a" : "b";
    store.closeTable();
    EXPECT_EQ(rowsWith(password), want);
}

}  // namespace
}  // namespace qinghe::recordstore
