// The pay record as one of the data folder's tables: a password change that
// a crash or a failing disk cuts short between the journal and the pay
// record never locks the person out, and the daily backup covers both.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <iostream>

#include "common/clock.h"
#include "datafolder/backup.h"
#include "datafolder/password.h"
#include "journal/journal_fixture.h"
#include "payrecord/pay_record.h"
#include "recordstore/errors.h"
#include "testing/fault_file_system.h"

namespace qinghe::datafolder {
namespace {

using journal::StoreError;
using journal::testing::TempFolder;
using platform::testing::Fault;
using platform::testing::FaultFileSystem;
using platform::testing::kCrashStatus;

const std::string kOld = "old";
const std::string kNew = "new";

// The journal with a day and the pay record with two months, both under
// `password`, in `path`.
void makeFolder(const std::filesystem::path& path, const std::string& password) {
    recordstore::Registry store;
    const journal::JournalAccess access{store, platform::posixFileSystem(), path, password};
    StoreError error;
    ASSERT_TRUE(journal::createJournal(access, error));
    ASSERT_EQ(journal::appendDay(
                  access, journal::testing::entry(2025, 3, 3, "8", journal::Field::G1), error),
              journal::RecordOutcome::Recorded);
    for (int month : {1, 2}) {
        const payrecord::PayRow row{2025,   month,    {30000'00, 4500'00, 2000'00, 0},
                                    555'00, 24945'00, wages::Rules::Current};
        ASSERT_TRUE(payrecord::writeMonth(access, row, error)) << error.code;
    }
}

// Which of the two passwords the journal opens with ("" for neither).
std::string journalPassword(const DataFolder& folder) {
    for (const std::string& p : {kOld, kNew}) {
        StoreError error;
        journal::OpenJournal journal(folder.journal(p), journal::OpenMode::ReadWrite);
        if (journal.isOpen()) return p;
    }
    return {};
}

// Both tables whole under `password`: the journal's day and the pay
// record's two months.
void expectWhole(const DataFolder& folder, const std::string& password) {
    StoreError error;
    EXPECT_TRUE(opensWith(folder, password, error)) << error.code;
    std::vector<payrecord::PayRow> rows;
    ASSERT_TRUE(payrecord::readPayRows(folder.journal(password), rows, error)) << error.code;
    EXPECT_EQ(rows.size(), 2U);
    EXPECT_EQ(journal::testing::recordsOf(folder.journal(password)).size(), 1U);
}

// What the next start does: the journal's password decides, and a table
// that refuses it is brought to it from the other one. Counts those.
void reconcile(const DataFolder& folder, int& split) {
    const std::string password = journalPassword(folder);
    ASSERT_FALSE(password.empty()) << "the journal opens with neither password";
    for (const RefusingTable& refusing : tablesRefusing(folder, password)) {
        ++split;
        EXPECT_EQ(refusing.table->name, payrecord::kTableName);
        EXPECT_FALSE(refusing.failure.damaged);
        StoreError error;
        EXPECT_TRUE(bringToPassword(folder, refusing.table->name, password == kOld ? kNew : kOld,
                                    password, error))
            << error.code;
    }
    EXPECT_TRUE(tablesRefusing(folder, password).empty());
    expectWhole(folder, password);
}

class PasswordChangeTest : public ::testing::Test {
  protected:
    void SetUp() override { makeFolder(pristine_.path(), kOld); }

    // The change on a copy of the folder in `work`, `fault` at the n-th
    // changing call.
    bool changeCopy(const TempFolder& work, FaultFileSystem& fs, Fault fault, std::int64_t n) {
        std::filesystem::copy(pristine_.path(), work.path(),
                              std::filesystem::copy_options::recursive);
        recordstore::Registry store(fs);
        const DataFolder folder(work.path().string(), store, fs);
        fs.arm(fault, n);
        StoreError error;
        return changePassword(folder, kOld, kNew, error);
    }

    TempFolder pristine_;
};

TEST_F(PasswordChangeTest, EveryFaultOrCrashLeavesOnePasswordOrARecoverableTwo) {
    std::int64_t total = 0;
    {
        TempFolder work;
        FaultFileSystem fs;
        ASSERT_TRUE(changeCopy(work, fs, Fault::Eio, INT64_MAX));
        total = fs.calls();
        expectWhole(DataFolder(work.path().string()), kNew);
    }
    ASSERT_GT(total, 4);
    int split = 0;
    for (std::int64_t n = 1; n <= total; ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(total));
        for (Fault fault : {Fault::Eio, Fault::NoSpace}) {
            TempFolder work;
            FaultFileSystem fs;
            const DataFolder folder(work.path().string());
            if (changeCopy(work, fs, fault, n)) {
                expectWhole(folder, kNew);
            } else {
                // The journal keeps the old password; a pay record whose
                // rollback found the disk full is brought back to it.
                EXPECT_EQ(journalPassword(folder), kOld);
                reconcile(folder, split);
            }
        }
        TempFolder work;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FaultFileSystem fs;
            ::_exit(changeCopy(work, fs, Fault::Crash, n) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) != kCrashStatus) ADD_FAILURE() << "no crash at a changing call";
        reconcile(DataFolder(work.path().string()), split);
    }
    EXPECT_GT(split, 0) << "no fault left the tables with two passwords";
    std::cout << "[ faults   ] " << 3 * total << " faults and crashes injected\n";
}

TEST(PayRecordBackupTest, TheDailyBackupCoversThePayRecord) {
    TempFolder folder;
    makeFolder(folder.path(), kOld);
    const DataFolder data(folder.path().string());
    StoreError error;
    const DateTime day = systemClock().now();  // a backup's day is that of its file's last write
    ASSERT_EQ(backUpJournal(data, kOld, day, error), BackupOutcome::Made) << error.code;
    for (const std::string& file : {data.backupFile(), data.payRecordBackupFile()}) {
        SCOPED_TRACE(file);
        recordstore::Registry store;
        ASSERT_TRUE(store.openTable(gbk::fromUtf8(file).text, {}, true, 1, kOld))
            << recordstore::lastError();
        EXPECT_EQ(store.recordCount(), file == data.backupFile() ? 1 : 2);
        store.closeTable();
    }
    EXPECT_TRUE(data.isOwnFile(data.payRecordBackupFile()));
    // Once a day: a month written the same day waits for the next.
    const payrecord::PayRow march{2025, 3, {1'00, 0, 0, 0}, 0, 1'00, wages::Rules::Current};
    ASSERT_TRUE(payrecord::writeMonth(data.journal(kOld), march, error));
    EXPECT_EQ(backUpJournal(data, kOld, day, error), BackupOutcome::NotDue);
    EXPECT_EQ(backUpJournal(data, kOld, day + 1, error), BackupOutcome::Made);
}

}  // namespace
}  // namespace qinghe::datafolder
