// Two processes record into one journal at the same time, over overlapping
// ranges of days: every record that a process was told was recorded is
// there, no process recorded a day twice, and every day of both ranges is
// recorded. A record refused because the other process held the file at
// that moment is tried again, as the person would press the button again.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <map>
#include <set>

#include "journal_fixture.h"

namespace qinghe::journal::testing {
namespace {

constexpr int kProcesses = 2;
constexpr int kDaysEach = 120;
constexpr int kOverlap = 60;
constexpr int kAttempts = 200;

struct Shared {
    int recorded[kProcesses];
    int refused[kProcesses];  // failed attempts that were tried again
};

TEST(RecordingProcesses, NothingLostAndNoDayTwiceFromOneProcess) {
    TempFolder folder;
    {
        recordstore::Registry store;
        StoreError error;
        ASSERT_TRUE(
            createJournal({store, platform::posixFileSystem(), folder.path(), "pw"}, error));
    }
    auto* shared = static_cast<Shared*>(
        ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(shared, MAP_FAILED);
    *shared = {};
    const DateTime first = makeDate(2013, 1, 1);
    pid_t children[kProcesses];
    for (int p = 0; p < kProcesses; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] != 0) continue;
        recordstore::Registry store;
        JournalAccess access{store, platform::posixFileSystem(), folder.path(), "pw"};
        const std::string tag(1, static_cast<char>('A' + p));
        for (int d = 0; d < kDaysEach; ++d) {
            const DayEntry e{first + p * (kDaysEach - kOverlap) + d, tag, std::nullopt, false};
            StoreError error;
            RecordOutcome outcome = RecordOutcome::Failed;
            for (int a = 0; a < kAttempts && outcome == RecordOutcome::Failed; ++a) {
                outcome = appendDay(access, e, error);
                if (outcome == RecordOutcome::Failed) ++shared->refused[p];
            }
            if (outcome == RecordOutcome::Failed) ::_exit(1);
            if (outcome == RecordOutcome::Recorded) ++shared->recorded[p];
        }
        ::_exit(0);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    recordstore::Registry store;
    std::map<std::string, std::multiset<DateTime>> byProcess;
    std::set<DateTime> days;
    for (const JournalRecord& r :
         recordsOf({store, platform::posixFileSystem(), folder.path(), "pw"})) {
        byProcess[r.remark].insert(r.date);
        days.insert(r.date);
    }
    for (int p = 0; p < kProcesses; ++p) {
        const auto& mine = byProcess[std::string(1, static_cast<char>('A' + p))];
        EXPECT_EQ(static_cast<int>(mine.size()), shared->recorded[p]) << "records lost";
        EXPECT_EQ(std::set<DateTime>(mine.begin(), mine.end()).size(), mine.size())
            << "a day twice from one process";
    }
    EXPECT_EQ(static_cast<int>(days.size()), kProcesses * kDaysEach - kOverlap);
    std::cout << "[ recorded ] " << shared->recorded[0] << " + " << shared->recorded[1]
              << " records, " << shared->refused[0] + shared->refused[1]
              << " attempts refused while the other process held the file\n";
    ::munmap(shared, sizeof(Shared));
}

}  // namespace
}  // namespace qinghe::journal::testing
