// Recording a day on a failing disk never leaves half a day.
//
// The journal's sort failed at every changing call of the file system (an I/O
// error, a full disk, a short write) and cut short by a crash at every one:
// the journal always opens with its password and holds every record whole,
// in the old order or in date order. A sort that reports failure leaves the
// old journal and nothing else in the folder; one that reports success
// leaves the sorted journal; one cut short leaves nothing but temporaries of
// the journal, which table check lists and the next open for writing
// removes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <iostream>

#include "journal_fixture.h"
#include "recordstore/check.h"
#include "recordstore/errors.h"
#include "testing/fault_file_system.h"

namespace qinghe::journal::testing {
namespace {

using platform::testing::Fault;
using platform::testing::FaultFileSystem;
using platform::testing::kCrashStatus;

enum class Order { Old, Sorted, Other };

class SortDurabilityTest : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        recordstore::Registry store;
        JournalAccess access{store, platform::posixFileSystem(), pristine_.path(), GetParam()};
        StoreError error;
        ASSERT_TRUE(createJournal(access, error));
        for (int day : {5, 3, 9, 1, 7, 2}) {
            ASSERT_EQ(appendDay(access, entry(2013, 5, day, std::to_string(day), Field::G1), error),
                      RecordOutcome::Recorded);
        }
        old_ = recordsOf(access);
        sorted_ = old_;
        std::sort(sorted_.begin(), sorted_.end(),
                  [](const auto& a, const auto& b) { return a.date < b.date; });
    }

    // Runs the sort on a copy of the journal in `work`, with `fault` at the
    // n-th changing call.
    bool sortCopy(const TempFolder& work, FaultFileSystem& fs, Fault fault, std::int64_t n) {
        std::filesystem::copy(pristine_.path(), work.path(),
                              std::filesystem::copy_options::recursive);
        recordstore::Registry store(fs);
        JournalAccess access{store, fs, work.path(), GetParam()};
        fs.arm(fault, n);
        StoreError error;
        return sortByDate(access, error);
    }

    Order orderIn(const TempFolder& work) {
        recordstore::Registry store;
        JournalAccess access{store, platform::posixFileSystem(), work.path(), GetParam()};
        const auto records = recordsOf(access);
        return records == old_ ? Order::Old : records == sorted_ ? Order::Sorted : Order::Other;
    }

    std::int64_t changingCalls() {
        TempFolder work;
        FaultFileSystem fs;
        EXPECT_TRUE(sortCopy(work, fs, Fault::Eio, INT64_MAX));
        return fs.calls();
    }

    TempFolder pristine_;
    std::vector<JournalRecord> old_, sorted_;
};

TEST_P(SortDurabilityTest, EveryFaultAtEveryChangingCall) {
    const std::int64_t total = changingCalls();
    ASSERT_GT(total, 2);
    for (Fault fault : {Fault::Eio, Fault::NoSpace, Fault::ShortWrite}) {
        for (std::int64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at call " +
                         std::to_string(n) + " of " + std::to_string(total));
            TempFolder work;
            FaultFileSystem fs;
            if (sortCopy(work, fs, fault, n)) {
                EXPECT_EQ(orderIn(work), Order::Sorted);
            } else {
                EXPECT_EQ(orderIn(work), Order::Old);
                EXPECT_EQ(work.names(), std::vector<std::string>{"加班.EDB"});
            }
        }
    }
    std::cout << "[ faults   ] " << 3 * total << " faults injected\n";
}

TEST_P(SortDurabilityTest, CrashAtEveryChangingCall) {
    const std::int64_t total = changingCalls();
    for (std::int64_t n = 1; n <= total; ++n) {
        SCOPED_TRACE("crash at call " + std::to_string(n) + " of " + std::to_string(total));
        TempFolder work;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FaultFileSystem fs;
            ::_exit(sortCopy(work, fs, Fault::Crash, n) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        const Order order = orderIn(work);
        EXPECT_NE(order, Order::Other);
        if (WEXITSTATUS(status) != kCrashStatus) {
            EXPECT_EQ(order, WEXITSTATUS(status) == 0 ? Order::Sorted : Order::Old);
        }
        // What the sort left beside the journal is the journal's own: table
        // check names it, and the next open for writing removes it.
        const std::vector<std::string> problems =
            recordstore::checkTable(platform::posixFileSystem(),
                                    tablePathIn(work.path(), kTableName), GetParam())
                .problems;
        for (const std::string& name : work.names()) {
            if (name == "加班.EDB") continue;
            EXPECT_TRUE(std::any_of(
                problems.begin(), problems.end(),
                [&](const std::string& p) { return p.find(name) != std::string::npos; }))
                << name << " is not listed by table check";
        }
        recordstore::Registry store;
        OpenJournal(JournalAccess{store, platform::posixFileSystem(), work.path(), GetParam()},
                    OpenMode::ReadWrite);
        EXPECT_EQ(work.names(), std::vector<std::string>{"加班.EDB"});
    }
    std::cout << "[ crashes  ] " << total << " crash points\n";
}

TEST(RecordingOnAFailingDisk, SaysWhyAndLeavesTheJournalAsItWas) {
    TempFolder folder;
    {
        recordstore::Registry store;
        StoreError error;
        JournalAccess access{store, platform::posixFileSystem(), folder.path(), "pw"};
        ASSERT_TRUE(createJournal(access, error));
        ASSERT_EQ(appendDay(access, entry(2013, 5, 5, "休息"_gbk), error), RecordOutcome::Recorded);
    }
    const std::vector<JournalRecord> before = [&] {
        recordstore::Registry store;
        return recordsOf({store, platform::posixFileSystem(), folder.path(), "pw"});
    }();
    for (Fault fault : {Fault::NoSpace, Fault::Eio, Fault::ShortWrite}) {
        for (std::int64_t n = 1; n <= 3; ++n) {
            SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at call " +
                         std::to_string(n));
            FaultFileSystem fs;
            recordstore::Registry store(fs);
            JournalAccess access{store, fs, folder.path(), "pw"};
            fs.arm(fault, n);
            StoreError error;
            const RecordOutcome outcome =
                appendDay(access, entry(2013, 5, 6, "8", Field::G1), error);
            fs.disarm();
            recordstore::Registry reader;
            const auto after =
                recordsOf({reader, platform::posixFileSystem(), folder.path(), "pw"});
            // Never half a day: the journal as it was, or with the whole new
            // day. (A torn write of the record count on a disk that is then
            // full leaves the record store unable to put the old count back:
            // the append fails, yet the day is there.)
            std::vector<JournalRecord> withDay = before;
            withDay.push_back(*dayRecord(entry(2013, 5, 6, "8", Field::G1)));
            if (outcome == RecordOutcome::Recorded) {
                EXPECT_EQ(after, withDay);
            } else {
                EXPECT_EQ(outcome, RecordOutcome::Failed);
                EXPECT_EQ(error.message, recordstore::errorMessage(error.code));
                EXPECT_NE(error.code, 0);
                EXPECT_TRUE(after == before || after == withDay);
            }
            if (after.size() > before.size()) {  // back to the one day for the next case
                LastRecord last;
                ASSERT_TRUE(readLastRecord(access, last, error));
                ASSERT_EQ(removeLastRecord(access, last, error), DeleteOutcome::Deleted);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Passwords, SortDurabilityTest, ::testing::Values("", "pw"),
                         [](const auto& p) { return p.param.empty() ? "Plain" : "Enciphered"; });

}  // namespace
}  // namespace qinghe::journal::testing
