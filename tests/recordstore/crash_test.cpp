// Crash tests: a child process ends abruptly in the middle of an operation,
// at every changing call in turn (a write cut in half first) and at random
// times by SIGKILL; the parent then opens the table with the process's own
// file system and checks every record (durability_scenarios.h). The open
// that applies an undo log left by such a crash is itself failed and cut
// short at each of its changing calls.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <random>

#include "durability_scenarios.h"
#include "recordstore/check.h"

namespace qinghe::recordstore::testing {
namespace {

// An int that parent and child share.
class SharedCounter {
  public:
    SharedCounter()
        : value_(static_cast<int*>(::mmap(nullptr, sizeof(int), PROT_READ | PROT_WRITE,
                                          MAP_SHARED | MAP_ANONYMOUS, -1, 0))) {
        *value_ = 0;
    }
    ~SharedCounter() { ::munmap(value_, sizeof(int)); }
    int* get() { return value_; }

  private:
    int* value_;
};

constexpr int kChildFailed = 1;
constexpr int kChildCannotOpen = 3;

class CrashTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(CrashTest, EndsAtEveryChangingCall) {
    const Scenario& s = GetParam();
    TempDir pristine;
    setUpScenario(s, pristine.path());
    std::int64_t total = changingCalls(s, pristine.path());
    int crashes = 0, leaks = 0;
    for (std::int64_t n = 1; n <= total; ++n) {
        SCOPED_TRACE("crash at call " + std::to_string(n) + " of " + std::to_string(total));
        TempDir work;
        SharedCounter acked;
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FaultFileSystem fs;
            bool returned =
                runOnCopy(s, pristine.path(), work.path(), fs, Fault::Crash, n, acked.get());
            ::_exit(returned ? 0 : kChildFailed);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        int code = WEXITSTATUS(status);
        ASSERT_NE(code, kChildCannotOpen);
        std::optional<bool> returned;
        if (code != kCrashStatus) returned = code == 0;
        crashes += code == kCrashStatus;
        s.check(work.path(), returned, *acked.get());
        if (HasFatalFailure()) return;
        // Once opened, the table is sound but for blocks or bytes of the
        // auxiliary file that a cut-short operation may leave unused.
        if (s.name.rfind("Rekey", 0) != 0) {
            for (const auto& p :
                 checkTable(posixFileSystem(), tablePath(work.path()), s.password).problems) {
                EXPECT_NE(p.find("cut short"), std::string::npos) << p;
                leaks += p.find("cut short") != std::string::npos;
            }
        }
    }
    std::cout << "[ crashes  ] " << s.name << ": " << crashes << " crash points, " << leaks
              << " left unused blocks\n";
}

// The scenario's operation run again and again (on the table it leaves)
// until SIGKILL stops it at a random time.
TEST_P(CrashTest, KilledAtRandomTimes) {
    const Scenario& s = GetParam();
    if (s.name.rfind("Append", 0) != 0 && s.name.rfind("Rekey", 0) != 0 &&
        s.name.rfind("CopyOver", 0) != 0) {
        GTEST_SKIP() << "covered by the crash points";
    }
    std::mt19937 random(static_cast<unsigned>(std::hash<std::string>{}(s.name)));
    constexpr int kKills = 25;
    for (int kill = 0; kill < kKills; ++kill) {
        TempDir work;
        setUpScenario(s, work.path());
        SharedCounter acked;  // appends that returned, or re-keyings
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Registry store;
            if (!store.openTable(tablePath(work.path()), {}, false, 1, s.password)) {
                ::_exit(kChildCannotOpen);
            }
            bool rekey = s.name.rfind("Rekey", 0) == 0;
            bool copy = s.name.rfind("CopyOver", 0) == 0;
            std::string next = s.password.empty() ? "新" : "";
            for (int round = 0;; ++round) {
                if (rekey) {
                    // Back and forth between the two passwords.
                    if (!store.setPassword(round % 2 == 0 ? next : s.password))
                        ::_exit(kChildFailed);
                    ++*acked.get();
                } else if (copy) {
                    if (!store.copyInto(work.path() + "/backup")) ::_exit(kChildFailed);
                } else {
                    if (!appendSample(store, 100 + round, s.memo)) ::_exit(kChildFailed);
                    ++*acked.get();
                }
            }
        }
        std::uniform_int_distribution<int> delay(2000, 60000);
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << WEXITSTATUS(status);
        int done = *acked.get();
        SCOPED_TRACE("killed after " + std::to_string(done));
        if (s.name.rfind("Rekey", 0) == 0) {
            std::string next = s.password.empty() ? "新" : "";
            std::string last = done % 2 == 1 ? next : s.password;
            std::string other = done % 2 == 1 ? s.password : next;
            auto rows = rowsOf(tablePath(work.path()), last, s.memo);
            if (!rows) rows = rowsOf(tablePath(work.path()), other, s.memo);
            ASSERT_TRUE(rows) << "opens with neither password";
            EXPECT_EQ(*rows, rowsFor(s.ids, {}));
        } else if (s.name.rfind("CopyOver", 0) == 0) {
            auto backup = rowsOf(work.path() + "/backup", s.password, s.memo);
            ASSERT_TRUE(backup) << "the backup does not open";
            EXPECT_TRUE(*backup == rowsFor(s.ids, {}) || *backup == rowsFor({41, 42}, {}));
        } else {
            auto rows = rowsOf(tablePath(work.path()), s.password, s.memo);
            ASSERT_TRUE(rows) << "the table does not open";
            auto want = rowsFor(s.ids, {});
            for (int i = 0; i < done; ++i) {
                want.push_back({static_cast<std::int32_t>(s.ids.size()) + i + 1, 100 + i, true});
            }
            ASSERT_GE(rows->size(), want.size()) << "records lost";
            ASSERT_LE(rows->size(), want.size() + 1);
            if (rows->size() > want.size()) {
                want.push_back({static_cast<std::int32_t>(want.size()) + 1, 100 + done, true});
            }
            EXPECT_EQ(*rows, want);
        }
        if (HasFatalFailure()) return;
    }
    std::cout << "[ kills    ] " << s.name << ": " << kKills << " SIGKILLs\n";
}

// The table (file title) whose undo log lies in `dir`, or empty.
std::string tableWithUndoLog(const std::string& dir) {
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().extension() == ".EDJ") return e.path().stem().string();
    }
    return {};
}

// An interrupted operation left its undo log; the open that applies it fails
// (each fault) or is cut short at each of its changing calls in turn. The
// next ordinary open then finds the table whole and the log gone, and an
// open that did succeed had already removed it: the log is applied exactly
// once, never again over later changes.
class RecoveryTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(RecoveryTest, FailedOrCutShortAtEveryCall) {
    const Scenario& s = GetParam();
    TempDir pristine;
    setUpScenario(s, pristine.path());
    // The latest crash point of the operation that leaves an undo log.
    TempDir crashed;
    std::string table;
    for (std::int64_t n = changingCalls(s, pristine.path()); n >= 1 && table.empty(); --n) {
        std::filesystem::remove_all(crashed.path());
        std::filesystem::create_directory(crashed.path());
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FaultFileSystem fs;
            int acked = 0;
            runOnCopy(s, pristine.path(), crashed.path(), fs, Fault::Crash, n, &acked);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        table = tableWithUndoLog(crashed.path());
    }
    ASSERT_FALSE(table.empty()) << "no crash point leaves an undo log";

    auto recoveryCalls = [&] {
        TempDir work;
        copyFiles(crashed.path(), work.path());
        FaultFileSystem fs;
        Registry store(fs);
        fs.arm(Fault::Eio, INT64_MAX);
        EXPECT_TRUE(store.openTable(work.path() + "/" + table, {}, false, 1, s.password));
        return fs.calls();
    };
    const std::int64_t total = recoveryCalls();
    ASSERT_GT(total, 0);
    int runs = 0;
    for (Fault fault : {Fault::Eio, Fault::NoSpace, Fault::ShortWrite, Fault::Crash}) {
        for (std::int64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at call " +
                         std::to_string(n) + " of " + std::to_string(total));
            TempDir work;
            copyFiles(crashed.path(), work.path());
            const std::string path = work.path() + "/" + table;
            if (fault == Fault::Crash) {
                pid_t child = ::fork();
                ASSERT_GE(child, 0);
                if (child == 0) {
                    FaultFileSystem fs;
                    Registry store(fs);
                    fs.arm(fault, n);
                    ::_exit(store.openTable(path, {}, false, 1, s.password) ? 0 : kChildFailed);
                }
                int status = 0;
                ASSERT_EQ(::waitpid(child, &status, 0), child);
            } else {
                FaultFileSystem fs;
                Registry store(fs);
                fs.arm(fault, n);
                if (store.openTable(path, {}, false, 1, s.password)) {
                    EXPECT_EQ(tableWithUndoLog(work.path()), "") << "opened, the log still there";
                }
            }
            s.check(work.path(), std::nullopt, 0);
            EXPECT_EQ(tableWithUndoLog(work.path()), "");
            ++runs;
            if (HasFatalFailure()) return;
        }
    }
    std::cout << "[ recovery ] " << s.name << ": " << runs << " faults and crashes\n";
}

INSTANTIATE_TEST_SUITE_P(Operations, CrashTest, ::testing::ValuesIn(durabilityScenarios()),
                         [](const auto& p) { return p.param.name; });

std::vector<Scenario> scenariosWithUndoLogs() {
    auto all = durabilityScenarios();
    std::erase_if(all, [](const Scenario& s) { return !s.undoLog; });
    return all;
}

INSTANTIATE_TEST_SUITE_P(Operations, RecoveryTest, ::testing::ValuesIn(scenariosWithUndoLogs()),
                         [](const auto& p) { return p.param.name; });

}  // namespace
}  // namespace qinghe::recordstore::testing
