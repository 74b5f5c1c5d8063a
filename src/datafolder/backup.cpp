#include "datafolder/backup.h"

#include <cerrno>

#include "common/clock.h"
#include "common/gbk.h"
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

bool hasRecords(const journal::JournalAccess& access) {
    journal::OpenJournal journal(access, journal::OpenMode::ReadOnly);
    int count = 0;
    return journal.isOpen() && journal.count(count) && count > 0;
}

// Makes the folder of the backup when it is missing.
bool makeBackupFolder(const DataFolder& folder, platform::FileSystem& files) {
    const std::string path = folder.backupFolder();
    const int r = files.createDirectory(path);
    if (r == 0) return true;
    platform::FileStatus status;
    return r == -EEXIST && files.status(path, status) == 0 &&
           status.kind == platform::FileKind::Directory;
}

journal::StoreError badPath() {
    return {recordstore::error::kBadPath, recordstore::errorMessage(recordstore::error::kBadPath),
            false};
}

journal::StoreError noBackupFolder() {
    return {recordstore::error::kUnknown, "无法创建文件夹 数据库备份"_gbk, false};
}

BackupOutcome backUpPayRecord(const DataFolder& folder, const std::string& password, DateTime now,
                              journal::StoreError& error) {
    const journal::JournalAccess access = folder.journal(password);
    std::vector<payrecord::PayRow> rows;
    if (!payrecord::readPayRows(access, rows, error)) {
        error.opening = false;
        return BackupOutcome::Failed;
    }
    if (rows.empty()) return BackupOutcome::NotDue;
    if (!makeBackupFolder(folder, access.fs)) {
        error = noBackupFolder();
        return BackupOutcome::Failed;
    }
    const std::string file = folder.payRecordBackupFile();
    if (backupDay(file, access.fs) >= dayNumber(now)) return BackupOutcome::NotDue;
    const gbk::Conversion target = gbk::fromUtf8(file);
    if (!target.ok) {
        error = badPath();
        return BackupOutcome::Failed;
    }
    if (!payrecord::copyPayRecord(access, target.text, error)) {
        error.opening = false;
        return BackupOutcome::Failed;
    }
    return BackupOutcome::Made;
}

BackupOutcome backUpJournalAlone(const DataFolder& folder, const std::string& password,
                                 DateTime now, journal::StoreError& error) {
    const journal::JournalAccess access = folder.journal(password);
    if (!hasRecords(access)) return BackupOutcome::NotDue;
    if (!makeBackupFolder(folder, access.fs)) {
        error = noBackupFolder();
        return BackupOutcome::Failed;
    }
    if (backupDay(folder.backupFile(), access.fs) >= dayNumber(now)) return BackupOutcome::NotDue;
    journal::OpenJournal journal(access, journal::OpenMode::ReadOnly);
    const gbk::Conversion target = gbk::fromUtf8(folder.backupFile());
    if (!journal.isOpen() || !target.ok || !journal.copyTo(target.text)) {
        error = !target.ok ? badPath() : journal.error();
        error.opening = false;
        return BackupOutcome::Failed;
    }
    return BackupOutcome::Made;
}

}  // namespace

BackupOutcome backUpJournal(const DataFolder& folder, const std::string& password, DateTime now,
                            journal::StoreError& error) {
    const BackupOutcome journal = backUpJournalAlone(folder, password, now, error);
    if (journal == BackupOutcome::Failed) return journal;
    const BackupOutcome payRecord = backUpPayRecord(folder, password, now, error);
    return payRecord == BackupOutcome::NotDue ? journal : payRecord;
}

}  // namespace qinghe::datafolder
