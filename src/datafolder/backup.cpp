#include "datafolder/backup.h"

#include <cerrno>
#include <optional>

#include "common/clock.h"
#include "common/gbk.h"
#include "datafolder/password.h"
#include "payrecord/pay_record.h"
#include "platform/paths.h"
#include "recordstore/errors.h"

namespace qinghe::datafolder {
namespace {

using namespace literals;

// A day as the number yyyymmdd (the year 100 gives 1000101).
long dayNumber(DateTime value) {
    const CivilDate d = dateOf(value);
    return static_cast<long>(d.year) * 10000 + static_cast<long>(d.month) * 100 + d.day;
}

// The local day of the last write of the backup `file`; 1 January 100 when
// there is none.
long backupDay(const std::string& file, platform::FileSystem& files) {
    platform::FileStatus status;
    if (files.status(file, status) < 0) return dayNumber(makeDate(kMinYear, 1, 1));
    return dayNumber(localDateTime(status.modified));
}

// Whether the journal holds records; nullopt with the reason when it cannot
// be opened or counted.
std::optional<bool> hasRecords(const journal::JournalAccess& access, journal::StoreError& error) {
    journal::OpenJournal journal(access, journal::OpenMode::ReadOnly);
    int count = 0;
    if (!journal.isOpen() || !journal.count(count)) {
        error = journal.error();
        return std::nullopt;
    }
    return count > 0;
}

// Makes the folder of the backup when it is missing; the reason when it
// cannot.
std::optional<journal::StoreError> makeBackupFolder(const DataFolder& folder,
                                                    platform::FileSystem& files) {
    const std::string path = folder.backupFolder();
    const int r = files.createDirectory(path);
    platform::FileStatus status;
    if (r == 0 || (r == -EEXIST && files.status(path, status) == 0 &&
                   status.kind == platform::FileKind::Directory)) {
        return std::nullopt;
    }
    const std::string why =
        r == -EEXIST ? "同名的文件已经存在"_gbk : recordstore::fileErrorMessage(r);
    return journal::StoreError{recordstore::fileErrorCode(r),
                               "无法创建文件夹 数据库备份："_gbk + why, false};
}

// Copies a table that holds records to its backup `file` (UTF-8) when that
// is not of today: `copy` writes the table to the record store's path it is
// given.
template <typename Copy>
BackupOutcome backUpTable(const DataFolder& folder, platform::FileSystem& files,
                          const std::string& file, DateTime now, journal::StoreError& error,
                          Copy copy) {
    if (const std::optional<journal::StoreError> failed = makeBackupFolder(folder, files)) {
        error = *failed;
        return BackupOutcome::Failed;
    }
    platform::FileStatus there;
    if (files.status(file, there) == 0 && there.kind == platform::FileKind::Directory) {
        const std::string name = platform::lastComponent(file);
        error = {recordstore::error::kBadPath,
                 "备份的位置被文件夹“"_gbk + gbk::fromUtf8(name).text + "”占用"_gbk, false};
        return BackupOutcome::Failed;
    }
    const long lastDay = backupDay(file, files);
    if (lastDay == dayNumber(now)) return BackupOutcome::NotDue;
    const std::string target = journal::storePath(files, file);
    if (target.empty()) {
        error = {recordstore::error::kBadPath,
                 recordstore::errorMessage(recordstore::error::kBadPath), false};
        return BackupOutcome::Failed;
    }
    if (!copy(target)) {
        error.opening = false;
        return BackupOutcome::Failed;
    }
    return lastDay > dayNumber(now) ? BackupOutcome::MadeOverFuture : BackupOutcome::Made;
}

BackupOutcome backUpJournalAlone(const DataFolder& folder, const journal::JournalAccess& access,
                                 DateTime now, journal::StoreError& error) {
    const std::optional<bool> records = hasRecords(access, error);
    if (!records) return BackupOutcome::Failed;
    if (!*records) return BackupOutcome::NotDue;
    return backUpTable(folder, access.fs, folder.backupFile(), now, error,
                       [&](const std::string& target) {
                           journal::OpenJournal journal(access, journal::OpenMode::ReadOnly);
                           if (journal.isOpen() && journal.copyTo(target)) return true;
                           error = journal.error();
                           return false;
                       });
}

// The pay record's backup; a failure's message is the reason as
// explainFailure gives it.
BackupOutcome backUpPayRecord(const DataFolder& folder, const journal::JournalAccess& access,
                              DateTime now, journal::StoreError& error) {
    std::vector<payrecord::PayRow> rows;
    BackupOutcome outcome = BackupOutcome::NotDue;
    if (!payrecord::readPayRows(access, rows, error)) {
        outcome = BackupOutcome::Failed;
    } else if (!rows.empty()) {
        outcome = backUpTable(folder, access.fs, folder.payRecordBackupFile(), now, error,
                              [&](const std::string& target) {
                                  return payrecord::copyPayRecord(access, target, error);
                              });
    }
    if (outcome == BackupOutcome::Failed) {
        error.message =
            explainFailure(folder, folderTable(payrecord::kTableName), access.password, error)
                .reason;
        error.opening = false;
    }
    return outcome;
}

}  // namespace

BackupOutcome backUpJournal(const DataFolder& folder, const std::string& password, DateTime now,
                            journal::StoreError& error) {
    const journal::JournalAccess access = folder.journal(password);
    const BackupOutcome journal = backUpJournalAlone(folder, access, now, error);
    if (journal == BackupOutcome::Failed) return journal;
    const BackupOutcome payRecord = backUpPayRecord(folder, access, now, error);
    if (payRecord == BackupOutcome::Failed) {
        return journal == BackupOutcome::NotDue ? BackupOutcome::PayRecordFailed
                                                : BackupOutcome::MadeButPayRecordFailed;
    }
    for (const BackupOutcome said : {BackupOutcome::MadeOverFuture, BackupOutcome::Made}) {
        if (journal == said || payRecord == said) return said;
    }
    return BackupOutcome::NotDue;
}

}  // namespace qinghe::datafolder
