#include "journal/journal_maintenance.h"

#include <vector>

#include "common/gbk.h"
#include "platform/paths.h"
#include "recordstore/errors.h"

namespace qinghe::journal {

using namespace literals;
namespace rs = qinghe::recordstore;

namespace {

// The file on disk of a table named `gbkName` in the journal's folder.
std::string mainFileOf(const JournalAccess& access, std::string_view gbkName) {
    const std::string name = gbk::toUtf8(gbkName) + ".EDB";
    return platform::resolveIgnoringCase(access.fs, platform::childPath(access.directory, name));
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

DeleteOutcome removeLastRecord(const JournalAccess& access, const LastRecord& confirmed,
                               StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadWrite);
    LastRecord now;
    bool ok = journal.isOpen() && journal.count(now.count) &&
              (now.count == 0 || (journal.goLast() && journal.readDate(now.date)));
    if (ok && now.count == 0 && confirmed.count == 0) return DeleteOutcome::Empty;
    if (ok && (now.count != confirmed.count || now.date != confirmed.date)) {
        return DeleteOutcome::Changed;
    }
    if (ok && !journal.removeCurrent()) {
        error = journal.error();
        return DeleteOutcome::Failed;
    }
    if (!ok) {
        error = journal.error();
        return DeleteOutcome::Failed;
    }
    return DeleteOutcome::Deleted;
}

bool sortByDate(const JournalAccess& access, StoreError& error) {
    OpenJournal journal(access, OpenMode::Exclusive);
    if (!journal.isOpen() || !journal.sortByDate()) {
        error = journal.error();
        return false;
    }
    return true;
}

bool removeAllRecords(const JournalAccess& access, StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadWrite);
    if (!journal.isOpen() || !journal.removeAll()) {
        error = journal.error();
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
    const std::string table = tablePathIn(access.fs, access.directory, kTableName);
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
