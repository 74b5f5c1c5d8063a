// The platform's seam as everything above it relies on it, on real files,
// FIFOs and links: opens take regular files only and never wait; a
// replacement keeps the replaced file's mode, owner and link, is flushed in
// the order a power loss needs and leaves nothing behind when it fails;
// temporaries go only once their maker is gone; a whole read has a bound;
// the paths' rules.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/temporary_files.h"
#include "platform/whole_file.h"
#include "testing/fault_file_system.h"

namespace qinghe::platform {
namespace {

namespace fs = std::filesystem;

class Folder {
  public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "qinghe-seam-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

FileSystem& disk() {
    return posixFileSystem();
}

void put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

unsigned modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A process id that no process has any more.
int deadProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(Seam, OpensTakeRegularFilesOnlyAndNeverWait) {
    Folder dir;
    put(dir.file("file"), "x");
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    fs::create_directory(dir.file("folder"));
    fs::create_symlink(dir.file("file"), dir.file("to-file"));
    fs::create_symlink(dir.file("fifo"), dir.file("to-fifo"));
    const std::pair<const char*, int> cases[] = {
        {"file", 0},          {"to-file", 0},      {"fifo", -EINVAL},
        {"to-fifo", -EINVAL}, {"folder", -EISDIR}, {"missing", -ENOENT},
    };
    for (const auto& [name, expected] : cases) {
        for (bool write : {false, true}) {
            SCOPED_TRACE(std::string(name) + (write ? " for writing" : " for reading"));
            const int handle = disk().open(dir.file(name), write, false);
            if (expected < 0) {
                EXPECT_EQ(handle, expected);
            } else {
                ASSERT_GE(handle, 0);
                const std::uint8_t byte = 'y';
                EXPECT_EQ(disk().write(handle, {&byte, 1}, 1), write ? 1 : -EBADF)
                    << "a blocking read or write would not matter; a refused one would";
                disk().close(handle);
            }
        }
    }
    // A new file is private; an existing name, even a link to nothing, is
    // never created through.
    const int handle = disk().open(dir.file("new"), true, true);
    ASSERT_GE(handle, 0);
    disk().close(handle);
    EXPECT_EQ(modeOf(dir.file("new")), kNewFileMode);
    fs::create_symlink(dir.file("nowhere"), dir.file("dangling"));
    EXPECT_EQ(disk().open(dir.file("dangling"), true, true), -EEXIST);
    EXPECT_FALSE(fs::exists(dir.file("nowhere")));
}

TEST(Seam, AReplacementKeepsModeOwnerAndLink) {
    struct Case {
        const char* what;
        std::function<void(const Folder&)> before;
        const char* replaced;  // the path given
        const char* holder;    // the file that holds the new bytes afterwards
        unsigned mode;
        std::vector<const char*> links;  // what must still be links
    };
    const Case cases[] = {
        {"a new file", [](const Folder&) {}, "f", "f", kNewFileMode, {}},
        {"a file of the group",
         [](const Folder& d) {
             put(d.file("f"), "old");
             fs::permissions(d.file("f"), fs::perms(0640));
         },
         "f",
         "f",
         0640,
         {}},
        {"a file with set-id and sticky bits: the permission bits alone",
         [](const Folder& d) {
             put(d.file("f"), "old");
             fs::permissions(d.file("f"), fs::perms(07755));
         },
         "f",
         "f",
         0755,
         {}},
        {"a link to a file elsewhere",
         [](const Folder& d) {
             fs::create_directory(d.file("elsewhere"));
             put(d.file("elsewhere/f"), "old");
             fs::permissions(d.file("elsewhere/f"), fs::perms(0604));
             fs::create_symlink(d.file("elsewhere/f"), d.file("link"));
         },
         "link",
         "elsewhere/f",
         0604,
         {"link"}},
        {"relative links in a chain",
         [](const Folder& d) {
             put(d.file("c"), "old");
             fs::permissions(d.file("c"), fs::perms(0660));
             fs::create_symlink("c", d.file("b"));
             fs::create_symlink("b", d.file("a"));
         },
         "a",
         "c",
         0660,
         {"a", "b"}},
        {"a link to nothing yet",
         [](const Folder& d) { fs::create_symlink("target", d.file("link")); },
         "link",
         "target",
         kNewFileMode,
         {"link"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Folder dir;
        c.before(dir);
        ASSERT_TRUE(writeReplacing(disk(), dir.file(c.replaced), bytesOf("new")).ok());
        EXPECT_EQ(contentOf(dir.file(c.holder)), "new");
        EXPECT_EQ(modeOf(dir.file(c.holder)), c.mode);
        for (const char* link : c.links) EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
        for (const auto& entry : fs::recursive_directory_iterator(dir.file("."))) {
            EXPECT_FALSE(isTemporaryName(entry.path().filename().string())) << entry.path();
        }
    }
    Folder dir;
    fs::create_symlink("loop", dir.file("loop"));
    EXPECT_EQ(writeReplacing(disk(), dir.file("loop"), bytesOf("new")).error, -ELOOP);
}

TEST(Seam, AReplacementKeepsAnotherUsersOwnershipWhereItMay) {
    if (::geteuid() != 0) GTEST_SKIP() << "only a privileged process may give a file away";
    Folder dir;
    put(dir.file("f"), "old");
    ASSERT_EQ(::chown(dir.file("f").c_str(), 65534, 65534), 0);
    ASSERT_TRUE(writeReplacing(disk(), dir.file("f"), bytesOf("new")).ok());
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("f").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

TEST(Seam, ATemporaryGoesOnlyOnceItsMakerIsGone) {
    Folder dir;
    const std::string dead = std::to_string(deadProcess());
    const std::string alive = std::to_string(::getpid());
    struct Case {
        std::string name;
        bool locked;  // another open file of it holds a lock
        bool goes;
    };
    const Case cases[] = {
        {"t.ini.~" + dead + "-abcdefgh", false, true},
        {"T.INI.~" + dead + "-abcdefgi", false, true},       // the target's name in any case
        {"t.ini.~" + dead + "-abcdefgj", true, false},       // a writer in another process space
        {"t.ini.~" + alive + "-abcdefgh", false, false},     // its maker runs
        {"t.ini.~1700000000000-42", false, true},            // the older form
        {"t.ini.~" + dead, false, false},                    // not a temporary's name
        {"other.ini.~" + dead + "-abcdefgh", false, false},  // another file's
    };
    std::vector<int> held;
    for (const Case& c : cases) {
        put(dir.file(c.name), "left");
        if (!c.locked) continue;
        const int handle = disk().open(dir.file(c.name), true, false);
        ASSERT_EQ(disk().lock(handle, LockKind::Shared, 1, 1), 0);
        held.push_back(handle);
    }
    ASSERT_TRUE(writeReplacing(disk(), dir.file("t.ini"), bytesOf("new")).ok());
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(dir.file(c.name)), !c.goes) << c.name;
    }
    for (int handle : held) disk().close(handle);
}

TEST(Seam, AWholeReadHasABound) {
    Folder dir;
    constexpr std::size_t kLimit = 10;
    const std::pair<std::uintmax_t, int> sizes[] = {
        {0, 0}, {kLimit, 0}, {kLimit + 1, -EFBIG}, {std::uintmax_t{1} << 40, -EFBIG}};
    for (const auto& [size, expected] : sizes) {
        SCOPED_TRACE(size);
        put(dir.file("f"), std::string(std::min<std::uintmax_t>(size, kLimit + 1), 'x'));
        fs::resize_file(dir.file("f"), size);  // the last as a hole
        std::string bytes = "before";
        EXPECT_EQ(readWhole(disk(), dir.file("f"), kLimit, bytes), expected);
        EXPECT_EQ(bytes, expected == 0 ? std::string(size, 'x') : "before");
    }
    std::string bytes;
    EXPECT_EQ(readWhole(disk(), dir.file("missing"), kLimit, bytes), -ENOENT);
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(readWhole(disk(), dir.file("fifo"), kLimit, bytes), -EINVAL);
}

// The new file is flushed after its last write and before it is moved into
// place, and the folder after the move: a power loss at any moment leaves the
// old file or the new one, whole. A replacement that fails at any changing
// call leaves the old file and nothing beside it; one that reports success
// leaves the new file.
TEST(Seam, AReplacementIsFlushedInOrderAndAFailedOneLeavesNothingBehind) {
    using testing::Fault;
    Folder dir;
    const std::string target = dir.file("t.csv");
    const std::string content(3000, 'n');
    put(target, "old");
    testing::FaultFileSystem recording;
    ASSERT_TRUE(writeReplacing(recording, target, bytesOf(content)).ok());
    EXPECT_EQ(testing::durableMoveProblem(recording.changes(), target), "");

    for (Fault fault : {Fault::Eio, Fault::NoSpace, Fault::ShortWrite}) {
        for (std::int64_t n = 1;; ++n) {
            SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at call " +
                         std::to_string(n));
            put(target, "old");
            testing::FaultFileSystem failing;
            failing.arm(fault, n);
            const bool replaced = writeReplacing(failing, target, bytesOf(content)).ok();
            EXPECT_EQ(contentOf(target), replaced ? content : "old");
            std::vector<std::string> names;
            for (const auto& e : fs::directory_iterator(directoryOf(target))) {
                names.push_back(e.path().filename().string());
            }
            EXPECT_EQ(names, std::vector<std::string>{"t.csv"});
            if (failing.calls() < n) break;  // the replacement ended before the fault's turn
        }
    }
}

TEST(Seam, StreamsAreWrittenAndReadAsTheyAreAndFilesNever) {
    Folder dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = contentOf(dir.file("fifo")); });
    EXPECT_EQ(disk().writeStream(dir.file("fifo"), bytesOf("through")), 0);
    reader.join();
    EXPECT_EQ(received, "through");
    for (const auto& [limit, expected] : {std::pair<std::size_t, int>{7, 0}, {6, -EFBIG}}) {
        std::thread writer([&] { put(dir.file("fifo"), "through"); });
        std::string bytes = "before";
        EXPECT_EQ(disk().readStream(dir.file("fifo"), limit, bytes), expected) << limit;
        writer.join();
        EXPECT_EQ(bytes, expected == 0 ? "through" : "before");
    }
    put(dir.file("file"), "old");
    std::string bytes;
    EXPECT_EQ(disk().writeStream(dir.file("file"), bytesOf("new")), -EINVAL);
    EXPECT_EQ(disk().readStream(dir.file("file"), 10, bytes), -EINVAL);
    EXPECT_EQ(contentOf(dir.file("file")), "old");
    fs::create_directory(dir.file("folder"));
    EXPECT_EQ(disk().writeStream(dir.file("folder"), bytesOf("new")), -EISDIR);
    EXPECT_EQ(disk().readStream(dir.file("folder"), 10, bytes), -EISDIR);
}

TEST(Paths, LexicalRulesAndTheFilesTheyName) {
    const std::pair<const char*, const char*> absolute[] = {
        {"x.EDB", "/home/u/x.EDB"},
        {"./sub/../x.EDB", "/home/u/x.EDB"},
        {"/a//b/./c", "/a/b/c"},
        {"..", "/home"},
        {"/", "/"},
    };
    for (const auto& [given, expected] : absolute) {
        EXPECT_EQ(absolutePath(given, "/home/u"), expected) << given;
    }
    EXPECT_EQ(directoryOf("/x"), "/");
    EXPECT_EQ(directoryOf("x"), ".");
    EXPECT_EQ(directoryOf("a/b/x"), "a/b");
    EXPECT_EQ(lastComponent("a/b/x"), "x");
    EXPECT_EQ(childPath("/", "x"), "/x");
    EXPECT_EQ(childPath("a/", "x"), "a/x");
    EXPECT_EQ(childPath("a", "x"), "a/x");
    EXPECT_TRUE(samePath("加班.edb", "加班.EDB"));
    EXPECT_FALSE(samePath("加班.edb", "加班.ed"));

    Folder dir;
    put(dir.file("Data.INI"), "x");
    put(dir.file("data.Ini"), "x");
    EXPECT_EQ(resolveIgnoringCase(disk(), dir.file("DATA.ini")), dir.file("Data.INI"))
        << "the first in byte order";
    EXPECT_EQ(resolveIgnoringCase(disk(), dir.file("data.Ini")), dir.file("data.Ini"));
    EXPECT_EQ(resolveIgnoringCase(disk(), dir.file("none")), dir.file("none"));
    std::string target;
    EXPECT_EQ(followLinks(disk(), dir.file("Data.INI"), target), 0);
    EXPECT_EQ(target, dir.file("Data.INI"));
}

}  // namespace
}  // namespace qinghe::platform
