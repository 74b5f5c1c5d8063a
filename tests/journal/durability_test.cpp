// The journal on a failing disk: recording a day never leaves half a day;
// a delete that fails leaves every record.
//
// The journal's sort failed at every changing call of the file system (an I/O
// error, a full disk, a short write) and cut short by a crash at every one:
// the journal always opens with its password and holds every record whole,
// in the old order or in date order. A sort that reports failure leaves the
// old journal and nothing else in the folder; one that reports success
// leaves the sorted journal; one cut short leaves nothing but temporaries of
// the journal, which table check lists and the next open for writing
// removes. The sorted journal is flushed before its move and the folder
// after it. Recording a day never leaves half a day, and the month's totals
// over a disk that fails a read fail rather than count the record they could
// not read.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <tuple>

#include "journal/month_totals.h"
#include "journal_fixture.h"
#include "recordstore/check.h"
#include "recordstore/errors.h"
#include "testing/fault_file_system.h"
#include "testing/fixed_clock.h"

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

// A power loss after the sort said it was done keeps the sorted journal:
// the new file is flushed before it is moved over 加班.EDB, and the folder
// after the move.
TEST_P(SortDurabilityTest, TheSortedFileIsFlushedBeforeItsMoveAndTheFolderAfter) {
    TempFolder work;
    FaultFileSystem fs;
    ASSERT_TRUE(sortCopy(work, fs, Fault::None, 0));
    EXPECT_EQ(
        platform::testing::durableMoveProblem(fs.changes(), (work.path() / "加班.EDB").string()),
        "");
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
            recordstore::checkTable(
                platform::posixFileSystem(),
                tablePathIn(platform::posixFileSystem(), work.path(), kTableName), GetParam())
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

// Creating the journal on a disk that fails says why (a full disk is -14,
// "磁盘空间不够", never "创建数据库失败" alone) and leaves nothing behind.
TEST(CreatingOnAFailingDisk, SaysWhyAndLeavesNothing) {
    const struct {
        Fault fault;
        int code;
    } cases[] = {{Fault::NoSpace, recordstore::error::kDiskFull},
                 {Fault::Eio, recordstore::error::kHardwareError}};
    for (const auto& c : cases) {
        TempFolder folder;
        FaultFileSystem fs;
        recordstore::Registry store(fs);
        fs.arm(c.fault, 2);  // the first write of the new file, after its creation
        StoreError error;
        EXPECT_FALSE(createJournal({store, fs, folder.path(), "pw"}, error));
        EXPECT_EQ(error.code, c.code);
        EXPECT_EQ(folder.names(), std::vector<std::string>{});
    }
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

// A delete that fails at any changing call leaves every record in place, so
// that the next delete takes the newer record alone.
TEST(DeletingOnAFailingDisk, LeavesTheJournalAsItWas) {
    for (Fault fault : {Fault::NoSpace, Fault::Eio, Fault::ShortWrite}) {
        for (std::int64_t n = 1;; ++n) {
            SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at call " +
                         std::to_string(n));
            TempFolder folder;
            recordstore::Registry plainStore;
            JournalAccess plain{plainStore, platform::posixFileSystem(), folder.path(), "pw"};
            StoreError error;
            ASSERT_TRUE(createJournal(plain, error));
            for (int day : {5, 6}) {
                ASSERT_EQ(appendDay(plain, entry(2013, 5, day, "8", Field::G1), error),
                          RecordOutcome::Recorded);
            }
            LastRecord last;
            ASSERT_TRUE(readLastRecord(plain, last, error));

            FaultFileSystem fs;
            recordstore::Registry store(fs);
            fs.arm(fault, n);
            const DeleteOutcome outcome =
                removeLastRecord({store, fs, folder.path(), "pw"}, last, error);
            const bool struck = fs.calls() >= n;
            fs.disarm();
            std::vector<DateTime> dates;
            if (outcome == DeleteOutcome::Deleted) {  // struck after the records were gone
                for (const JournalRecord& r : recordsOf(plain)) dates.push_back(r.date);
                EXPECT_EQ(dates, std::vector<DateTime>{makeDate(2013, 5, 5)});
                if (!struck) break;
                continue;
            }
            ASSERT_EQ(outcome, DeleteOutcome::Failed);
            // A later record, deleted once the disk works again: only it goes.
            ASSERT_EQ(appendDay(plain, entry(2013, 5, 7, "8", Field::G1), error),
                      RecordOutcome::Recorded);
            ASSERT_TRUE(readLastRecord(plain, last, error));
            ASSERT_EQ(removeLastRecord(plain, last, error), DeleteOutcome::Deleted);
            for (const JournalRecord& r : recordsOf(plain)) dates.push_back(r.date);
            EXPECT_EQ(dates, (std::vector<DateTime>{makeDate(2013, 5, 5), makeDate(2013, 5, 6)}));
        }
    }
}

TEST(MonthTotalsOnAFailingDisk, FailRatherThanCountARecordAsZeros) {
    TempFolder folder;
    {
        recordstore::Registry store;
        JournalAccess access{store, platform::posixFileSystem(), folder.path(), "pw"};
        StoreError error;
        ASSERT_TRUE(createJournal(access, error));
        for (int day = 1; day <= 20; ++day) {
            ASSERT_EQ(appendDay(access, entry(2013, 5, day, "2", Field::G1, day % 2 == 0), error),
                      RecordOutcome::Recorded);
        }
    }
    // A second passes between any two looks at the clock: what the record
    // store read ahead is always stale, and every field is read from the disk.
    FixedClock slow;
    slow.stepOnEveryLook(1000);
    auto totalsOn = [&](platform::FileSystem& fs, MonthTotals& totals, StoreError& error) {
        recordstore::Registry store(fs, slow);
        return totalMonth({store, fs, folder.path(), "pw"}, makeDate(2013, 5, 1), totals, error);
    };
    auto fields = [](const MonthTotals& t) {
        return std::tuple(t.g1, t.g2, t.g3, t.personalLeave, t.sickLeave, t.nightShifts, t.absence,
                          t.lastDate);
    };
    MonthTotals whole;
    StoreError error;
    ASSERT_TRUE(totalsOn(platform::posixFileSystem(), whole, error));
    ASSERT_EQ(whole.g1, 40);
    int failed = 0;
    for (std::int64_t n = 1;; ++n) {
        SCOPED_TRACE("a read cut short at read " + std::to_string(n));
        FaultFileSystem fs;
        fs.arm(Fault::ReadError, n);
        MonthTotals totals;
        if (totalsOn(fs, totals, error)) {
            EXPECT_EQ(fields(totals), fields(whole));
        } else {
            ++failed;
            EXPECT_NE(error.code, 0);
        }
        if (fs.calls() <= n) break;  // the read after the short one never came
    }
    EXPECT_GT(failed, 1);
}

INSTANTIATE_TEST_SUITE_P(Passwords, SortDurabilityTest, ::testing::Values("", "pw"),
                         [](const auto& p) { return p.param.empty() ? "Plain" : "Enciphered"; });

}  // namespace
}  // namespace qinghe::journal::testing
