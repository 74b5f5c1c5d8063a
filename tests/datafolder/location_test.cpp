#include "datafolder/location.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/process.h"

namespace qinghe::datafolder {
namespace {

namespace fs = std::filesystem;

class DataFolderPlace : public testing::Test {
  protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "qinghe-program-dir-XXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        root_ = name;
        fs::create_directories(root_ / "bin");
    }
    void TearDown() override { fs::remove_all(root_); }

    void touch(const fs::path& p) { std::ofstream(p).put('x'); }

    fs::path root_;
};

TEST_F(DataFolderPlace, UserDataFolderUnlessAJournalOrMarkerStandsBesideTheExecutable) {
    struct Case {
        const char* besideExecutable;  // a file put beside the executable, or nullptr
        const char* xdgDataHome;
        const char* home;
        const char*
            expected;  // relative to root_ unless absolute; "bin" is the executable's folder
    };
    const std::string xdg = (root_ / "xdg").string();
    const std::string home = (root_ / "home").string();
    // Without HOME, or with an empty one: the home the system knows for the
    // user (an absolute path), or the executable's folder without one.
    const std::string known = platform::userHome();
    const std::string noHome = known.empty() ? "bin" : known + "/.local/share/qinghe";
    const Case cases[] = {
        {nullptr, xdg.c_str(), home.c_str(), "xdg/qinghe"},
        {nullptr, nullptr, home.c_str(), "home/.local/share/qinghe"},
        {nullptr, "", home.c_str(), "home/.local/share/qinghe"},
        {nullptr, nullptr, nullptr, noHome.c_str()},
        {nullptr, nullptr, "", noHome.c_str()},
        {nullptr, "", "", noHome.c_str()},
        {nullptr, "relative/data", home.c_str(), "home/.local/share/qinghe"},
        {"portable", xdg.c_str(), home.c_str(), "bin"},
        {"PORTABLE", xdg.c_str(), home.c_str(), "bin"},
        {"加班.edb", xdg.c_str(), home.c_str(), "bin"},
        {"加班.EDB", nullptr, home.c_str(), "bin"},
        // Neither a backup nor a settings file makes a portable run.
        {"加班备份.edb", xdg.c_str(), home.c_str(), "xdg/qinghe"},
        {"配置项目.ini", xdg.c_str(), home.c_str(), "xdg/qinghe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.besideExecutable ? c.besideExecutable : "-") + " " +
                     (c.xdgDataHome ? c.xdgDataHome : "(unset)") + " " +
                     (c.home ? c.home : "(unset)"));
        fs::remove_all(root_ / "bin");
        fs::create_directories(root_ / "bin");
        if (c.besideExecutable) touch(root_ / "bin" / c.besideExecutable);
        EXPECT_EQ(chooseDataFolder(root_ / "bin", c.xdgDataHome, c.home), root_ / c.expected);
        EXPECT_FALSE(fs::exists(root_ / "xdg")) << "choosing must not create anything";
    }
}

TEST_F(DataFolderPlace, ThisProcessFindsItsOwnExecutable) {
    EXPECT_TRUE(fs::exists(fs::path(executableDir()) / "datafolder_tests"));
}

TEST_F(DataFolderPlace, CreatesMissingParentsAndReportsWhatItCannotCreate) {
    const fs::path nested = root_ / "a" / "b" / "qinghe";
    EXPECT_EQ(createDataFolder(nested), std::nullopt);
    EXPECT_TRUE(fs::is_directory(nested));
    EXPECT_EQ(fs::status(nested).permissions(), fs::perms::owner_all) << "private";
    EXPECT_EQ(createDataFolder(nested), std::nullopt) << "an existing folder is fine";

    // A file where the folder or one of its parents should be.
    touch(root_ / "blocked");
    for (const fs::path& p : {root_ / "blocked", root_ / "blocked" / "qinghe"}) {
        const std::optional<std::string> message = createDataFolder(p);
        ASSERT_TRUE(message.has_value()) << p;
        EXPECT_NE(message->find("无法创建数据文件夹 " + p.string() + "："), std::string::npos)
            << *message;
    }
}

}  // namespace
}  // namespace qinghe::datafolder
