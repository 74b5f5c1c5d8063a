// The operations that the fault and crash suites interrupt, each with the
// table it starts from and what must hold afterwards, whatever the point at
// which it was interrupted: the table opens (with the old or the new
// password), every record whose append returned is there whole, and an
// operation either took effect whole or not at all.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "durability_support.h"
#include "testing/fault_file_system.h"

namespace qinghe::recordstore::testing {

using platform::testing::Fault;
using platform::testing::FaultFileSystem;
using platform::testing::kCrashStatus;
using platform::testing::kSectorSize;

struct Scenario {
    std::string name;
    bool memo = false;
    std::string password;      // of the table when the operation starts
    std::vector<int> ids;      // the table's records, appended in this order
    std::vector<int> deleted;  // positions marked deleted before the operation
    bool undoLog = false;      // a crash part-way can leave the undo log of the operation
    // The operation on the open table `dir`/t; counts the appends that
    // returned in `acked`.
    std::function<bool(Registry&, const std::string& dir, int* acked)> run;
    // Checks the files after the operation returned (`returned`) or was cut
    // short (nullopt); `acked` appends had returned.
    std::function<void(const std::string& dir, std::optional<bool> returned, int acked)> check;
};

inline void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

inline std::string tablePath(const std::string& dir) {
    return dir + "/t";
}

// The rows of the table `ids` gives, with numbers from 1 and the deleted
// positions marked.
inline std::vector<Row> rowsFor(const std::vector<int>& ids, const std::vector<int>& deleted) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        bool gone = std::find(deleted.begin(), deleted.end(), static_cast<int>(i)) != deleted.end();
        auto number = static_cast<std::int32_t>(i + 1);
        rows.push_back({gone ? -number : number, ids[i], true});
    }
    return rows;
}

inline std::vector<Row> withoutDeleted(std::vector<Row> rows) {
    std::erase_if(rows, [](const Row& r) { return r.number < 0; });
    return rows;
}

// Makes the scenario's table in `dir`, and beside it the old backup that
// sort and copy replace: ids 41 and 42 under the scenario's password.
inline void setUpScenario(const Scenario& s, const std::string& dir) {
    makeSampleTable(dir + "/backup", {41, 42}, s.memo, s.password);
    makeSampleTable(tablePath(dir), s.ids, s.memo, s.password);
    if (s.deleted.empty()) return;
    Registry store;
    ASSERT_TRUE(store.openTable(tablePath(dir), {}, false, 1, s.password));
    for (int position : s.deleted) {
        ASSERT_TRUE(store.skip(position - static_cast<int>(store.position())));
        ASSERT_TRUE(store.deleteCurrent());
    }
    store.closeTable();
}

inline std::vector<Scenario> durabilityScenarios() {
    std::vector<Scenario> all;
    for (bool memo : {false, true}) {
        std::string kind = memo ? "Memo" : "Plain";
        for (std::string password : {std::string(), std::string("pw")}) {
            std::string tag = kind + (password.empty() ? "" : "Ciphered");
            std::vector<int> ids = {5, 3, 9, 1, 7, 2};

            Scenario append{"Append" + tag, memo, password, ids, {}, false, nullptr, nullptr};
            append.run = [memo](Registry& store, const std::string&, int* acked) {
                for (int id = 100; id < 104; ++id) {
                    if (!appendSample(store, id, memo)) return false;
                    ++*acked;
                }
                return true;
            };
            append.check = [ids, memo, password](const std::string& dir, std::optional<bool>,
                                                 int acked) {
                auto rows = rowsOf(tablePath(dir), password, memo);
                ASSERT_TRUE(rows) << "the table does not open";
                auto want = rowsFor(ids, {});
                for (int i = 0; i < acked; ++i)
                    want.push_back({static_cast<std::int32_t>(ids.size()) + i + 1, 100 + i, true});
                ASSERT_GE(rows->size(), want.size());
                ASSERT_LE(rows->size(),
                          want.size() + 1);  // the append cut short, whole or not at all
                if (rows->size() > want.size()) {
                    want.push_back({static_cast<std::int32_t>(want.size()) + 1, 100 + acked, true});
                }
                EXPECT_EQ(*rows, want);
            };
            all.push_back(append);

            std::vector<int> deleted = {1, 2, 5};
            Scenario pack{"Pack" + tag, memo, password, ids, deleted, true, nullptr, nullptr};
            pack.run = [](Registry& store, const std::string&, int*) { return store.pack(); };
            pack.check = [ids, deleted, memo, password](const std::string& dir,
                                                        std::optional<bool> returned, int) {
                auto rows = rowsOf(tablePath(dir), password, memo);
                ASSERT_TRUE(rows) << "the table does not open";
                auto before = rowsFor(ids, deleted);
                auto after = withoutDeleted(before);
                if (returned == true) {
                    EXPECT_EQ(*rows, after);
                } else {
                    EXPECT_TRUE(*rows == before || *rows == after) << rows->size() << " rows";
                }
            };
            all.push_back(pack);

            // Removing one record leaves it, when cut short, unmarked: a
            // later pack must never take it.
            Scenario remove{
                "RemoveCurrent" + tag, memo, password, ids, {1}, true, nullptr, nullptr};
            remove.run = [](Registry& store, const std::string&, int*) {
                return store.skip(3) && store.removeCurrent();
            };
            remove.check = [ids, memo, password](const std::string& dir,
                                                 std::optional<bool> returned, int) {
                auto rows = rowsOf(tablePath(dir), password, memo);
                ASSERT_TRUE(rows) << "the table does not open";
                auto before = rowsFor(ids, {1});
                auto after = withoutDeleted(rowsFor(ids, {1, 3}));
                if (returned == true) {
                    EXPECT_EQ(*rows, after);
                } else {
                    EXPECT_TRUE(*rows == before || *rows == after) << rows->size() << " rows";
                }
            };
            all.push_back(remove);

            Scenario zap{"Zap" + tag, memo, password, ids, {}, false, nullptr, nullptr};
            zap.run = [](Registry& store, const std::string&, int*) { return store.zap(); };
            zap.check = [ids, memo, password](const std::string& dir, std::optional<bool> returned,
                                              int) {
                auto rows = rowsOf(tablePath(dir), password, memo);
                ASSERT_TRUE(rows) << "the table does not open";
                if (returned == true) {
                    EXPECT_TRUE(rows->empty());
                } else {
                    EXPECT_TRUE(rows->empty() || *rows == rowsFor(ids, {}))
                        << rows->size() << " rows";
                }
            };
            all.push_back(zap);

            std::string next = password.empty() ? "新" : "";
            Scenario rekey{"Rekey" + tag, memo, password, ids, {}, true, nullptr, nullptr};
            rekey.run = [next](Registry& store, const std::string&, int*) {
                return store.setPassword(next);
            };
            rekey.check = [ids, memo, password, next](const std::string& dir,
                                                      std::optional<bool> returned, int) {
                auto oldRows = rowsOf(tablePath(dir), password, memo);
                auto newRows = rowsOf(tablePath(dir), next, memo);
                ASSERT_TRUE(oldRows || newRows) << "the table opens with neither password";
                if (returned) {
                    EXPECT_TRUE(*returned ? bool(newRows) : bool(oldRows));
                }
                EXPECT_EQ(oldRows ? *oldRows : *newRows, rowsFor(ids, {}));
            };
            all.push_back(rekey);

            for (bool sorted : {true, false}) {
                // Two files are moved into place through an undo log, one alone.
                Scenario replace{(sorted ? "SortOver" : "CopyOver") + tag,
                                 memo,
                                 password,
                                 ids,
                                 {},
                                 memo,
                                 nullptr,
                                 nullptr};
                replace.run = [sorted](Registry& store, const std::string& dir, int*) {
                    std::vector<std::string> key = {"G1"};
                    return sorted ? store.sortInto(dir + "/backup", key)
                                  : store.copyInto(dir + "/backup");
                };
                std::vector<int> newIds = ids;
                if (sorted) std::sort(newIds.begin(), newIds.end());
                replace.check = [ids, newIds, memo, password](const std::string& dir,
                                                              std::optional<bool> returned, int) {
                    EXPECT_EQ(rowsOf(tablePath(dir), password, memo), rowsFor(ids, {}));
                    auto backup = rowsOf(dir + "/backup", password, memo);
                    ASSERT_TRUE(backup) << "the destination does not open: " << lastError();
                    auto oldBackup = rowsFor({41, 42}, {});
                    if (returned == true) {
                        EXPECT_EQ(*backup, rowsFor(newIds, {}));
                    } else {
                        EXPECT_TRUE(*backup == oldBackup || *backup == rowsFor(newIds, {}));
                    }
                };
                all.push_back(replace);
            }
        }
    }
    return all;
}

// Copies every file of `from` into the empty directory `to`.
inline void copyFiles(const std::string& from, const std::string& to) {
    for (const auto& e : std::filesystem::directory_iterator(from)) {
        std::filesystem::copy_file(e.path(), to + "/" + e.path().filename().string());
    }
}

// Runs the scenario's operation on a copy (in `work`) of the tables in
// `pristine`, through `fs` armed with `fault` at changing call `n`; counts
// acknowledged appends in `acked`. Returns what the operation returned; the
// calls it made are in fs.calls().
inline bool runOnCopy(const Scenario& s, const std::string& pristine, const std::string& work,
                      FaultFileSystem& fs, Fault fault, std::int64_t n, int* acked) {
    copyFiles(pristine, work);
    Registry store(fs);
    if (!store.openTable(tablePath(work), {}, false, 1, s.password)) {
        ADD_FAILURE() << "the table does not open before the operation";
        return false;
    }
    fs.arm(fault, n);
    bool returned = s.run(store, work, acked);
    store.closeTable();
    return returned;
}

// The changing calls of the scenario's operation when nothing fails.
inline std::int64_t changingCalls(const Scenario& s, const std::string& pristine) {
    TempDir work;
    FaultFileSystem fs;
    int acked = 0;
    EXPECT_TRUE(runOnCopy(s, pristine, work.path(), fs, Fault::Eio, INT64_MAX, &acked));
    return fs.calls();
}

}  // namespace qinghe::recordstore::testing
