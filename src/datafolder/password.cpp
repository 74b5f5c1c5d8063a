#include "datafolder/password.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "common/gbk.h"
#include "recordstore/check.h"
#include "recordstore/errors.h"
#include "recordstore/record_store.h"

namespace qinghe::datafolder {
namespace {

// The tables of the folder that are there, as record-store paths (GBK).
std::vector<std::string> tablesThere(const DataFolder& folder, platform::FileSystem& files) {
    std::vector<std::string> tables;
    for (const FolderTable& table : kFolderTables) {
        platform::FileStatus status;
        if (!table.fromFirstRun && files.status(folder.tableFile(table.name), status) == -ENOENT) {
            continue;
        }
        tables.push_back(journal::tablePathIn(files, folder.path(), table.name));
    }
    return tables;
}

// Opens `table` for writing with `password`, runs `change` on it and closes
// it; false with the record store's reason when a step fails.
template <typename Change>
bool withTable(recordstore::Registry& store, const std::string& table, const std::string& password,
               Change change, journal::StoreError& error) {
    if (table.empty()) {  // a folder whose path has no GBK form
        error = {recordstore::error::kBadPath,
                 recordstore::errorMessage(recordstore::error::kBadPath), true};
        return false;
    }
    if (!store.openTable(table, {}, false, 1, password)) {
        error = journal::lastStoreError();
        error.opening = true;
        return false;
    }
    const bool changed = change(store);
    if (!changed) error = journal::lastStoreError();
    store.closeTable();  // the table just opened is the current one
    return changed;
}

}  // namespace

bool opensWith(const DataFolder& folder, const std::string& password, journal::StoreError& error) {
    const journal::JournalAccess access = folder.journal(password);
    for (const std::string& table : tablesThere(folder, access.fs)) {
        if (!withTable(
                access.store, table, password, [](auto&) { return true; }, error)) {
            return false;
        }
    }
    return true;
}

bool changePassword(const DataFolder& folder, const std::string& password,
                    std::string_view newPassword, journal::StoreError& error) {
    const journal::JournalAccess access = folder.journal(password);
    // The journal last: a change that fails anywhere leaves the journal with
    // the password that the person is told is still in force.
    std::vector<std::string> tables = tablesThere(folder, access.fs);
    std::reverse(tables.begin(), tables.end());
    const std::string changedTo(newPassword);
    for (std::size_t i = 0; i < tables.size(); ++i) {
        auto setNew = [&](recordstore::Registry& store) { return store.setPassword(newPassword); };
        if (withTable(access.store, tables[i], password, setNew, error)) continue;
        for (std::size_t j = 0; j < i; ++j) {
            journal::StoreError ignored;
            auto setOld = [&](recordstore::Registry& store) { return store.setPassword(password); };
            withTable(access.store, tables[j], changedTo, setOld, ignored);
        }
        return false;
    }
    return true;
}

TableFailure explainFailure(const DataFolder& folder, const FolderTable& table,
                            const std::string& password, const journal::StoreError& error) {
    using namespace literals;
    namespace code = recordstore::error;
    const journal::JournalAccess access = folder.journal(password);
    TableFailure failure;
    std::string damage = error.message;
    platform::FileStatus status;
    switch (error.code) {
        case code::kNotATable:  // damaged when it is a file; a FIFO or a device is not
            failure.damaged = access.fs.status(folder.tableFile(table.name), status) == 0 &&
                              status.kind == platform::FileKind::Regular;
            break;
        case code::kAuxReadFailed:
        case code::kAuxVersionMismatch:
        case code::kAuxDamaged:
            failure.damaged = true;
            break;
        case code::kWrongPassword:
            failure.damaged = recordstore::passwordCheckDamaged(
                access.fs, journal::tablePathIn(access.fs, folder.path(), table.name), password);
            damage = "密码校验部分已损坏，任何密码都打不开"_gbk;
            break;
        default:
            break;
    }
    const std::string shown(table.shownName);
    if (failure.damaged) {
        failure.reason = "文件已损坏，"_gbk + damage;
        failure.named = shown + failure.reason;
    } else {
        failure.reason = error.message;
        failure.named = shown + "："_gbk + error.message;
    }
    return failure;
}

std::vector<RefusingTable> tablesRefusing(const DataFolder& folder, const std::string& password) {
    const journal::JournalAccess access = folder.journal(password);
    std::vector<RefusingTable> refusing;
    for (const FolderTable& table : kFolderTables) {
        platform::FileStatus status;
        if (table.name == journal::kTableName ||
            access.fs.status(folder.tableFile(table.name), status) == -ENOENT) {
            continue;
        }
        journal::StoreError error;
        if (withTable(
                access.store, journal::tablePathIn(access.fs, folder.path(), table.name), password,
                [](auto&) { return true; }, error)) {
            continue;
        }
        const TableFailure failure = explainFailure(folder, table, password, error);
        if (failure.damaged || error.code == recordstore::error::kWrongPassword) {
            refusing.push_back({&table, failure});
        }
    }
    return refusing;
}

bool bringToPassword(const DataFolder& folder, std::string_view name,
                     const std::string& oldPassword, const std::string& password,
                     journal::StoreError& error) {
    const journal::JournalAccess access = folder.journal(oldPassword);
    auto setNew = [&](recordstore::Registry& store) { return store.setPassword(password); };
    return withTable(access.store, journal::tablePathIn(access.fs, folder.path(), name),
                     oldPassword, setNew, error);
}

}  // namespace qinghe::datafolder
