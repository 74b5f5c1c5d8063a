// qinghe-cli table in-process: whichever way a subcommand ends, it leaves no
// table open in the process's registry.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/table_command.h"
#include "common/gbk.h"
#include "recordstore/record_store.h"
#include "run_command.h"
#include "testing/undo_log_bytes.h"

namespace qinghe::cli {
namespace {

namespace rs = qinghe::recordstore;
namespace fs = std::filesystem;

class TableRegistryTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qinghe-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        file_ = (dir_ / "加班").string();
        ASSERT_EQ(table({"create", file_, "日期:8", "G1:3", "备注:10:20"}).status, kExitOk);
        ASSERT_EQ(table({"append", file_, "2024-05-03", "8", "休息"}).status, kExitOk);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static Outcome table(const std::vector<std::string>& args) {
        return runCommand(runTable, args);
    }

    // Nothing holds the table: an exclusive open succeeds.
    static bool heldByNoOne(const std::string& file, const std::string& password) {
        if (!rs::registry().openTable(gbk::fromUtf8(file).text, {}, false, 0,
                                      gbk::fromUtf8(password).text)) {
            return false;
        }
        rs::registry().closeTable();
        return true;
    }

    fs::path dir_;
    std::string file_;
};

TEST_F(TableRegistryTest, EveryWayASubcommandEndsClosesTheTable) {
    std::string password;
    ASSERT_TRUE(heldByNoOne(file_, password));
    struct Case {
        std::vector<std::string> args;  // after FILE
        const char* operation;
        int status;
    };
    const Case cases[] = {
        {{}, "info", kExitOk},
        {{}, "dump", kExitOk},
        {{"2024-05-04", "2"}, "append", kExitOk},
        {{"x"}, "append", kExitUsage},                 // a bad value, after the open
        {{"1", "2", "3", "4"}, "append", kExitUsage},  // too many values
        {{"--password", "pw"}, "info", kExitFailed},   // the open fails
        {{(dir_ / "副本").string(), "无此字段"}, "sort", kExitFailed},  // the sort fails
        {{(dir_ / "副本").string()}, "copy", kExitOk},
        {{}, "delete-last", kExitOk},
        {{}, "pack", kExitOk},
        {{"秘密"}, "passwd", kExitOk},
        {{"--password", "秘密"}, "dump", kExitOk},
        {{"--password", "秘密", "extra"}, "dump", kExitUsage},  // refused before the open
        {{"--password", "秘密"}, "zap", kExitOk},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{c.operation, file_};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome r = table(args);
        EXPECT_EQ(r.status, c.status) << c.operation << ' ' << r.err;
        EXPECT_FALSE(rs::registry().currentTableInfo()) << c.operation;
        if (c.operation == std::string("passwd")) password = c.args[0];
        EXPECT_TRUE(heldByNoOne(file_, password)) << c.operation;
    }
}

// An undo log beside the table: --read-only refuses the table, says why and
// leaves the files as they are; an open for writing then applies the log.
TEST_F(TableRegistryTest, ReadOnlySaysThatAnUndoLogWaits) {
    const fs::path main = dir_ / "加班.EDB";
    const fs::path log = dir_ / "加班.EDJ";
    using rs::testing::UndoLogBytes;
    const auto bytes =
        UndoLogBytes()
            .savedLength(UndoLogBytes::Main, static_cast<std::int64_t>(fs::file_size(main)))
            .bytes();
    std::ofstream(log, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    auto contents = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    const std::string before = contents(main);
    for (const char* operation : {"info", "dump"}) {
        Outcome refused = table({operation, file_, "--read-only"});
        EXPECT_EQ(refused.status, kExitFailed) << operation;
        EXPECT_NE(refused.err.find("error -21"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("undo log"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(contents(main), before);
    EXPECT_TRUE(fs::exists(log));
    EXPECT_EQ(table({"info", file_}).status, kExitOk);
    EXPECT_FALSE(fs::exists(log));
    EXPECT_EQ(table({"info", file_, "--read-only"}).status, kExitOk);
}

}  // namespace
}  // namespace qinghe::cli
