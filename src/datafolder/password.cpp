#include "datafolder/password.h"

#include <cerrno>
#include <vector>

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
        tables.push_back(journal::tablePathIn(folder.path(), table.name));
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
    const std::vector<std::string> tables = tablesThere(folder, access.fs);
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

}  // namespace qinghe::datafolder
