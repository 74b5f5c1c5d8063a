// Undo logs that are not what they should be: crafted ones beside a link or
// naming files that are not the table's, stale ones of another table or of
// a table since replaced, and a read-only open that finds one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "durability_scenarios.h"
#include "testing/staged_file_system.h"
#include "testing/undo_log_bytes.h"

namespace qinghe::recordstore::testing {
namespace {

const Bytes kPrecious = {'p', 'r', 'e', 'c', 'i', 'o', 'u', 's', '\n'};

class UndoLogAttack : public ::testing::Test {
  protected:
    TempDir dir;
    std::string table = dir.file("t");
    std::vector<int> ids = {4, 8, 15, 16, 23, 42};
    const std::string other = dir.file("x.dat");

    // The sample table with its third record deleted, whose pack then died
    // once its undo log was in place; the rows before the pack.
    std::optional<std::vector<Row>> packDied(bool memo) {
        makeSampleTable(table, ids, memo);
        {
            Registry store;
            EXPECT_TRUE(store.openTable(table) && store.skip(2) && store.deleteCurrent());
            store.closeTable();
        }
        auto before = rowsOf(table, "", memo);
        EXPECT_EQ(dieAfterUndoLog([&](Registry& s) { return s.openTable(table) && s.pack(); }),
                  StagedFileSystem::kDied);
        return before;
    }
    // x.EDB (ids) beside x.dat (1, 2, 3), whose password change died once
    // its undo log was in place at x.EDJ, the log name they share.
    void otherTablesRekeyDied() {
        makeSampleTable(dir.file("x"), ids, false);
        makeSampleTable(other, {1, 2, 3}, false);
        EXPECT_EQ(
            dieAfterUndoLog([&](Registry& s) { return s.openTable(other) && s.setPassword("pw"); }),
            StagedFileSystem::kDied);
    }
};

// A crafted log beside a table file that is a link to another file writes
// nothing through the link, whether the open is for writing or reading.
TEST_F(UndoLogAttack, CraftedLogWritesNothingThroughALink) {
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "for writing");
        std::filesystem::remove(dir.file("t.EDB"));
        writeBytes(dir.file("victim"), kPrecious);
        std::filesystem::create_symlink(dir.file("victim"), dir.file("t.EDB"));
        writeBytes(dir.file("t.EDJ"),
                   UndoLogBytes()
                       .savedLength(UndoLogBytes::Main, 5)
                       .savedBytes(UndoLogBytes::Main, 0, {'P', 'W', 'N', 'E', 'D'})
                       .bytes());
        Registry store;
        EXPECT_FALSE(store.openTable(table, {}, readOnly));
        EXPECT_EQ(readBytes(dir.file("victim")), kPrecious);
    }
}

// A log's renames may only move the table's own temporary files onto the
// table's own files: not an attacker's file onto the settings file, and not
// any file onto the table.
TEST_F(UndoLogAttack, CraftedRenamesReplaceNothingButTheTablesOwnFiles) {
    makeSampleTable(table, ids, false);
    Bytes tableBytes = readBytes(dir.file("t.EDB"));
    const std::string settings = "配置项目.ini";
    const std::pair<std::string, std::string> renames[] = {
        {"evil", settings}, {"evil.EDB", "t.EDB"}, {"t.EDB.~1-1", settings}, {"../evil", "t.EDB"}};
    for (const auto& [from, to] : renames) {
        SCOPED_TRACE(from + " -> " + to);
        writeBytes(dir.file(settings), kPrecious);
        writeBytes(dir.file("evil"), {'e', 'v', 'i', 'l'});
        writeBytes(dir.file("evil.EDB"), tableBytes);  // a table, but not a temporary file of t
        writeBytes(dir.file("t.EDB"), tableBytes);
        writeBytes(dir.file("t.EDB.~1-1"), tableBytes);
        writeBytes(dir.file("t.EDJ"), UndoLogBytes().rename(from, to).bytes());
        Registry store;
        EXPECT_FALSE(store.openTable(table));
        EXPECT_EQ(readBytes(dir.file(settings)), kPrecious);
        EXPECT_TRUE(std::filesystem::exists(dir.file("evil")));
        EXPECT_TRUE(std::filesystem::exists(dir.file("evil.EDB")));
        EXPECT_EQ(readBytes(dir.file("t.EDB")), tableBytes);
    }
}

// An open for reading only never writes: a table that an interrupted pack
// left with its undo log is refused, not recovered, and stays as it is; an
// open for writing then recovers it.
TEST_F(UndoLogAttack, ReadOnlyOpenLeavesAnInterruptedPackAlone) {
    const auto before = packDied(true);
    const std::string files[] = {"t.EDB", "t.EDT", "t.EDJ"};
    std::vector<Bytes> left;
    for (const auto& f : files) left.push_back(readBytes(dir.file(f)));
    ASSERT_FALSE(left[2].empty());
    Registry store;
    EXPECT_FALSE(store.openTable(table, {}, true));
    for (std::size_t i = 0; i < left.size(); ++i) {
        EXPECT_EQ(readBytes(dir.file(files[i])), left[i]) << files[i];
    }
    EXPECT_EQ(rowsOf(table, "", true), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.EDJ")));
}

// x.EDB and x.dat share the log name x.EDJ: a re-key of x.dat cut short is
// recovered into x.dat, never into x.EDB.
TEST_F(UndoLogAttack, LogOfAnotherTableOfTheSameNameIsLeftToIt) {
    otherTablesRekeyDied();
    ASSERT_TRUE(std::filesystem::exists(dir.file("x.EDJ")));
    EXPECT_EQ(rowsOf(dir.file("x"), "", false), rowsFor(ids, {}));
    auto rows = rowsOf(other, "", false);
    if (!rows) rows = rowsOf(other, "pw", false);
    EXPECT_EQ(rows, rowsFor({1, 2, 3}, {}));
}

// A table created over one whose pack was cut short is not overwritten by
// that pack's stale log at its first open.
TEST_F(UndoLogAttack, CreateOverATableWhosePackDiedIsNotUndone) {
    packDied(false);
    Registry store;
    std::vector<FieldSpec> fields{{"n", 3, 0}};
    ASSERT_TRUE(store.createTable(table, fields));
    ASSERT_TRUE(store.openTable(table)) << lastError();
    auto info = store.currentTableInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->count, 0);
    EXPECT_EQ(info->fields.size(), 1u);
    EXPECT_EQ(store.recordCount(), 0);
    store.closeTable();
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.EDJ")));
}

// While x.dat's log lies at x.EDJ, an operation of x.EDB that needs a log of
// its own fails instead of replacing it; x.dat is recovered afterwards.
TEST_F(UndoLogAttack, AnotherTablesLogIsNeverReplaced) {
    otherTablesRekeyDied();
    const Bytes log = readBytes(dir.file("x.EDJ"));
    {
        Registry store;
        ASSERT_TRUE(store.openTable(dir.file("x")));
        ASSERT_TRUE(store.deleteCurrent());
        EXPECT_FALSE(store.pack());
        EXPECT_EQ(lastError(), error::kSharingViolation);
        EXPECT_FALSE(store.setPassword("other"));
        EXPECT_EQ(lastError(), error::kRekeyFailed);
        store.closeTable();
    }
    EXPECT_EQ(readBytes(dir.file("x.EDJ")), log);
    EXPECT_EQ(rowsOf(other, "", false), rowsFor({1, 2, 3}, {}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.EDJ")));
}

// Logs of version 1 (written before logs named their table) are still
// applied: undo entries and a rename of the table's own temporary file.
TEST_F(UndoLogAttack, OldLogsAreStillApplied) {
    makeSampleTable(table, {1, 2}, false);
    const Bytes before = readBytes(dir.file("t.EDB"));
    {
        Registry store;
        ASSERT_TRUE(store.openTable(table));
        ASSERT_TRUE(appendSample(store, 3, false));
        store.closeTable();
    }
    const std::vector<std::pair<std::string, Bytes>> logs = {
        {"undo", UndoLogBytes()
                     .savedLength(UndoLogBytes::Main, static_cast<std::int64_t>(before.size()))
                     .savedBytes(UndoLogBytes::Main, 0, before)
                     .bytes()},
        {"rename", UndoLogBytes().rename("t.EDB.~1-1", "t.EDB").bytes()},
    };
    const Bytes after = readBytes(dir.file("t.EDB"));
    for (const auto& [what, log] : logs) {
        SCOPED_TRACE(what);
        writeBytes(dir.file("t.EDB"), after);
        writeBytes(dir.file("t.EDB.~1-1"), before);
        writeBytes(dir.file("t.EDJ"), log);
        EXPECT_EQ(rowsOf(table, "", false), rowsFor({1, 2}, {}));
        EXPECT_FALSE(std::filesystem::exists(dir.file("t.EDJ")));
    }
}

// A log whose table was replaced since (another file now at its name) is
// removed by the next open for writing, not applied to the new file.
TEST_F(UndoLogAttack, LogOfAReplacedTableIsDropped) {
    packDied(false);
    makeSampleTable(dir.file("new"), {7, 8}, false);
    std::filesystem::rename(dir.file("new.EDB"), dir.file("t.EDB"));
    const Bytes replaced = readBytes(dir.file("t.EDB"));
    EXPECT_EQ(rowsOf(table, "", false), rowsFor({7, 8}, {}));
    EXPECT_EQ(readBytes(dir.file("t.EDB")), replaced);
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.EDJ")));
}

}  // namespace
}  // namespace qinghe::recordstore::testing
