#include "journal/journal_maintenance.h"

#include <vector>

#include "common/gbk.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"

namespace qinghe::journal {

using namespace literals;
namespace rs = qinghe::recordstore;

namespace {

// The file on disk of a table named `gbkName` in the journal's folder.
std::string mainFileOf(const JournalAccess& access, std::string_view gbkName) {
    const std::string name = gbk::toUtf8(gbkName) + ".EDB";
    return rs::resolveIgnoringCase(access.fs, (access.directory / name).string());
}

StoreError fileError(int result) {
    const int code = rs::fileErrorCode(result);
    return {code, rs::errorMessage(code), false};
}

}  // namespace

bool readLastRecord(const JournalAccess& access, LastRecord& last, StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadOnly);
    LastRecord read;
    const bool ok = journal.isOpen() && journal.count(read.count) &&
                    (read.count == 0 || (journal.goLast() && journal.readDate(read.date)));
    if (!ok) {
        error = journal.error();
        return false;
    }
    last = read;
    return true;
}

std::string deleteQuestion(DateTime date) {
    return "确认要删除"_gbk + dateTimeToText(date) + "的加班记录！"_gbk;
}

DeleteOutcome deleteLastRecord(const JournalAccess& access, const LastRecord& confirmed,
                               StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadWrite);
    LastRecord now;
    bool ok = journal.isOpen() && journal.count(now.count) &&
              (now.count == 0 || (journal.goLast() && journal.readDate(now.date)));
    if (ok && now.count == 0 && confirmed.count == 0) return DeleteOutcome::Empty;
    if (ok && (now.count != confirmed.count || now.date != confirmed.date)) {
        return DeleteOutcome::Changed;
    }
    if (ok && !(journal.store().deleteCurrent() && journal.store().pack())) {
        error = lastStoreError();
        return DeleteOutcome::Failed;
    }
    if (!ok) {
        error = journal.error();
        return DeleteOutcome::Failed;
    }
    return DeleteOutcome::Deleted;
}

bool sortJournal(const JournalAccess& access, StoreError& error) {
    OpenJournal journal(access, OpenMode::Exclusive);
    if (!journal.isOpen()) {
        error = journal.error();
        return false;
    }
    const std::string sorted = tablePathIn(access.directory, kSortTableName);
    const std::vector<std::string> key = {fieldSpec(Field::Date).name};
    if (!journal.store().sortInto(sorted, key)) {
        error = lastStoreError();
        access.fs.remove(mainFileOf(access, kSortTableName));
        return false;
    }
    const std::string sortedFile = mainFileOf(access, kSortTableName);
    if (const int r = access.fs.rename(sortedFile, journal.path()); r < 0) {
        error = fileError(r);
        access.fs.remove(sortedFile);
        return false;
    }
    // The rename is done: the journal is the sorted one whether or not the
    // directory's flush succeeds, and after a crash it is the old or the
    // sorted one, whole.
    access.fs.syncDirectory(access.directory.string());
    return true;
}

bool clearJournal(const JournalAccess& access, StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadWrite);
    if (!journal.isOpen()) {
        error = journal.error();
        return false;
    }
    if (!journal.store().zap()) {
        error = lastStoreError();
        return false;
    }
    return true;
}

bool createJournal(const JournalAccess& access, StoreError& error) {
    const std::string file = mainFileOf(access, kTableName);
    if (const int handle = access.fs.open(file, false, false); handle >= 0) {
        access.fs.close(handle);
        error = {rs::error::kCreateFailed,
                 rs::errorMessage(rs::error::kCreateFailed) + "：数据库已经存在"_gbk, false};
        return false;
    }
    const std::string table = tablePathIn(access.directory, kTableName);
    if (table.empty()) {
        error = {rs::error::kBadPath, rs::errorMessage(rs::error::kBadPath), false};
        return false;
    }
    if (!access.store.createTable(table, journalFields())) {
        error = lastStoreError();
        return false;
    }
    if (access.password.empty()) return true;
    bool keyed = false;
    {
        JournalAccess plain = access;
        plain.password.clear();
        OpenJournal journal(plain, OpenMode::Exclusive);
        keyed = journal.isOpen() && journal.setPassword(access.password);
        if (!keyed) error = journal.error();
    }
    if (!keyed) access.fs.remove(mainFileOf(access, kTableName));
    return keyed;
}

}  // namespace qinghe::journal
