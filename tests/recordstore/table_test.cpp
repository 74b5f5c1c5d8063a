// Creating and opening tables: the bytes written, every check with its code,
// the repairs, the registry and the password prompt.
#include <gtest/gtest.h>

#include <deque>

#include "recordstore/cipher.h"
#include "support.h"

namespace qinghe::recordstore {
namespace {

using namespace testing;
using format::loadDouble;

class TableTest : public ::testing::Test {
  protected:
    TempDir dir;
    FixedClock clock{45000.5};  // 2023-03-15 12:00
    Registry store{posixFileSystem(), clock};
    std::string path(const std::string& name) const { return dir.file(name); }

    void createOneInt(const std::string& name) {
        std::vector<FieldSpec> fields{{"n", 3, 0}};
        ASSERT_TRUE(store.createTable(path(name), fields)) << lastError();
    }
};

TEST_F(TableTest, OneIntegerFieldGivesTheExpectedBytes) {
    createOneInt("t");
    Bytes b = readBytes(path("t.EDB"));
    ASSERT_EQ(b.size(), 188u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "WEDB");
    EXPECT_EQ(i32At(b, 4), 0x00010000);
    EXPECT_EQ(loadDouble(&b[8]), 45000.5);
    EXPECT_EQ(i32At(b, 16), 0);  // count
    EXPECT_EQ(i32At(b, 20), 1);  // next number
    EXPECT_EQ(i32At(b, 24), 8);  // record length
    EXPECT_TRUE(std::all_of(b.begin() + 28, b.begin() + 112, [](auto c) { return c == 0; }));
    EXPECT_EQ(i32At(b, 112), 1);  // field count
    EXPECT_EQ(b[116], 'n');
    EXPECT_EQ(b[117], 0);
    EXPECT_EQ(i32At(b, 116 + 20), 3);  // type
    EXPECT_EQ(i32At(b, 116 + 24), 4);  // offset
    EXPECT_EQ(i32At(b, 116 + 28), 0);  // size of a non-text field
    EXPECT_FALSE(std::filesystem::exists(path("t.EDT")));
}

TEST_F(TableTest, JournalLayoutOffsetsAndAuxiliaryFile) {
    auto fields = journalFields();
    fields.push_back({"附注"_gbk, 12, 0});
    ASSERT_TRUE(store.createTable(path("j"), fields));
    Bytes b = readBytes(path("j.EDB"));
    // Offsets follow without padding: 4, 12, 16, 20, 24, 28, 32, 52, 58, 62, 66.
    const std::int32_t offsets[] = {4, 12, 16, 20, 24, 28, 32, 52, 58, 62, 66};
    for (std::size_t i = 0; i < std::size(offsets); ++i) {
        EXPECT_EQ(i32At(b, 116 + 72 * i + 24), offsets[i]) << i;
    }
    EXPECT_EQ(i32At(b, 116 + 72 * 6 + 28), 20);  // 备注 size
    EXPECT_EQ(i32At(b, 24), 70);
    Bytes aux = readBytes(path("j.EDT"));
    ASSERT_EQ(aux.size(), 512u);
    EXPECT_EQ(std::string(aux.begin(), aux.begin() + 4), "WEDT");
    EXPECT_EQ(i32At(aux, 4), 0x00010000);
    EXPECT_EQ(i32At(aux, 16), 1);
    EXPECT_EQ(i32At(aux, 20), 0);
    EXPECT_EQ(i32At(aux, 24), 0);
}

struct CreateCase {
    const char* what;
    std::vector<FieldSpec> fields;
    int code;
};

class CreateChecks : public TableTest, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreateChecks, RefusesWithItsCodeAndWritesNothing) {
    const auto& c = GetParam();
    EXPECT_FALSE(store.createTable(path("t"), c.fields)) << c.what;
    EXPECT_EQ(lastError(), c.code) << c.what;
    EXPECT_FALSE(std::filesystem::exists(path("t.EDB")));
}

INSTANTIATE_TEST_SUITE_P(
    Create, CreateChecks,
    ::testing::Values(
        CreateCase{"empty list", {}, -16},
        CreateCase{"first name empty ends the list", {{"", 3, 0}, {"a", 3, 0}}, -16},
        CreateCase{"17-byte name", {{"abcdefghijklmnopq", 3, 0}}, -18},
        CreateCase{"digit first", {{"1a", 3, 0}}, -18},
        CreateCase{"blank inside", {{"a b", 3, 0}}, -18}, CreateCase{"type 0", {{"a", 0, 0}}, -17},
        CreateCase{"type 13", {{"a", 13, 0}}, -17}, CreateCase{"text size 0", {{"a", 10, 0}}, -19},
        CreateCase{"text size 1025", {{"a", 10, 1025}}, -19},
        CreateCase{"first bad field decides", {{"a", 99, 0}, {"1b", 3, 0}}, -17},
        CreateCase{"name before type", {{"1b", 99, 0}}, -18},
        CreateCase{"duplicates after all fields", {{"ab", 3, 0}, {"AB", 3, 0}, {"c", 0, 0}}, -17},
        CreateCase{"duplicate, case ignored", {{"ab", 3, 0}, {"AB", 3, 0}}, -20}));

TEST_F(TableTest, CreateAcceptsTheLimits) {
    std::vector<FieldSpec> fields{{"abcdefghijklmnop", 10, 1024},
                                  {"加班加班加班加班"_gbk, 3, 0},
                                  {"_u", 6, 0},
                                  {"", 99, 0},  // ends the list: not checked
                                  {"1bad", 3, 0}};
    ASSERT_TRUE(store.createTable(path("t"), fields));
    Bytes b = readBytes(path("t.EDB"));
    EXPECT_EQ(i32At(b, 112), 3);
    EXPECT_EQ(i32At(b, 24), 4 + 1024 + 4 + 8);
}

TEST_F(TableTest, CreateWithAnEmptyNameFailsWithFileNotFound) {
    std::vector<FieldSpec> fields{{"a", 3, 0}};
    EXPECT_FALSE(store.createTable("", fields));
    EXPECT_EQ(lastError(), -3);
}

TEST_F(TableTest, CreateReplacesAnExistingTableOfAnyLetterCase) {
    createOneInt("T.edb");
    ASSERT_TRUE(store.openTable(path("t.edb")));
    ASSERT_TRUE(store.appendRecord({Value{std::int32_t{5}}}));
    store.closeTable();
    createOneInt("t");  // names t.EDB, which is the file T.edb
    EXPECT_FALSE(std::filesystem::exists(path("t.EDB")));
    EXPECT_EQ(readBytes(path("T.edb")).size(), 188u);
}

TEST_F(TableTest, CreateDoesNotReplaceATableThatIsOpen) {
    createOneInt("t");
    ASSERT_TRUE(store.openTable(path("t")));
    ASSERT_TRUE(store.appendRecord({Value{std::int32_t{5}}}));
    std::vector<FieldSpec> fields{{"n", 3, 0}};
    EXPECT_FALSE(store.createTable(path("t"), fields));
    EXPECT_EQ(lastError(), -12);
    EXPECT_EQ(store.recordCount(), 1);
}

// ---- open ----------------------------------------------------------------

TEST_F(TableTest, OpenMissingFileAndEmptyName) {
    EXPECT_FALSE(store.openTable(path("missing")));
    EXPECT_EQ(lastError(), -3);
    EXPECT_FALSE(store.openTable(""));
    EXPECT_EQ(lastError(), -3);
}

TEST_F(TableTest, OpenFindsTheFileWhateverTheCaseOfItsName) {
    createOneInt("t");
    std::filesystem::rename(path("t.EDB"), path("t.edb"));
    EXPECT_TRUE(store.openTable(path("t"))) << lastError();
    EXPECT_EQ(store.currentTableInfo()->path, path("t.edb"));
}

TEST_F(TableTest, AliasMustFollowTheNameRule) {
    createOneInt("t");
    EXPECT_FALSE(store.openTable(path("t"), "9a"));
    EXPECT_EQ(lastError(), -24);
    EXPECT_TRUE(store.openTable(path("t"), "a_very_long_alias_is_fine_here"));
}

TEST_F(TableTest, OpeningOneFileTwiceFailsAlsoByAnotherPath) {
    createOneInt("t");
    std::filesystem::create_directory(path("sub"));
    ASSERT_TRUE(store.openTable(path("t")));
    EXPECT_FALSE(store.openTable(path("T.EDB")));
    EXPECT_EQ(lastError(), -38);
    EXPECT_FALSE(store.openTable(path("sub/../t")));
    EXPECT_EQ(lastError(), -38);
    std::filesystem::create_symlink(path("t.EDB"), path("link.EDB"));
    EXPECT_FALSE(store.openTable(path("link")));
    EXPECT_EQ(lastError(), -38);
}

TEST_F(TableTest, RelativeNamesResolveAgainstTheCurrentDirectory) {
    createOneInt("t");
    auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_TRUE(store.openTable("t"));
    EXPECT_FALSE(store.openTable("./t.EDB"));
    EXPECT_EQ(lastError(), -38);
    std::filesystem::current_path(saved);
}

// Writes a one-int table and patches its bytes.
class DamagedTable : public TableTest {
  protected:
    Bytes base() {
        createOneInt("t");
        return readBytes(path("t.EDB"));
    }
    int openPatched(const Bytes& bytes, bool readOnly = false) {
        writeBytes(path("t.EDB"), bytes);
        EXPECT_FALSE(store.openTable(path("t"), {}, readOnly));
        return lastError();
    }
};

TEST_F(DamagedTable, EveryCheckOfOpenInOrder) {
    Bytes good = base();
    auto with = [&](std::size_t at, std::int32_t v) {
        Bytes b = good;
        format::storeI32(&b[at], v);
        return b;
    };
    EXPECT_EQ(openPatched(Bytes(good.begin(), good.begin() + 111)), -22);
    Bytes badMagic = good;
    badMagic[1] = 'X';
    EXPECT_EQ(openPatched(badMagic), -22);
    EXPECT_EQ(openPatched(with(24, 0)), -22);   // record length
    EXPECT_EQ(openPatched(with(16, -1)), -22);  // count
    EXPECT_EQ(openPatched(with(20, 0)), -22);   // next number
    EXPECT_EQ(openPatched(with(4, 0x00010001)), -23);
    EXPECT_EQ(openPatched(Bytes(good.begin(), good.begin() + 114)), -22);  // field count cut
    EXPECT_EQ(openPatched(with(112, 0)), -22);
    EXPECT_EQ(openPatched(with(112, 2)), -22);  // descriptors incomplete
    EXPECT_EQ(openPatched(with(112, 0x7FFFFFFF)), -22);
    Bytes longName = good;
    std::fill_n(longName.begin() + 116, 17, 'a');
    EXPECT_EQ(openPatched(longName), -22);
    EXPECT_EQ(openPatched(with(116 + 24, -1)), -22);  // offset
    EXPECT_EQ(openPatched(with(116 + 20, 13)), -22);  // type
    EXPECT_EQ(openPatched(with(116 + 24, 5)), -22);   // value beyond the record
    Bytes text = with(116 + 20, 10);
    EXPECT_EQ(openPatched(text), -22);  // text of size 0
    // The version check comes after the count checks, before the descriptors.
    Bytes both = with(4, 0x00020000);
    format::storeI32(&both[112], 0);
    EXPECT_EQ(openPatched(both), -23);
}

TEST_F(DamagedTable, PartialRecordIsCutOnAReadWriteOpen) {
    Bytes b = base();
    format::storeI32(&b[16], 3);
    format::storeI32(&b[20], 4);
    for (std::int32_t n = 1; n <= 2; ++n) {
        Bytes record(8, 0);
        format::storeI32(&record[0], n);
        format::storeI32(&record[4], n * 10);
        b.insert(b.end(), record.begin(), record.end());
    }
    b.insert(b.end(), {3, 0, 0, 0});  // half a third record
    EXPECT_EQ(openPatched(b, true), -48);
    writeBytes(path("t.EDB"), b);
    ASSERT_TRUE(store.openTable(path("t")));
    EXPECT_EQ(store.recordCount(), 2);
    store.closeTable();
    Bytes after = readBytes(path("t.EDB"));
    EXPECT_EQ(after.size(), 188u + 16u);
    EXPECT_EQ(i32At(after, 16), 2);
    EXPECT_EQ(i32At(after, 20), 4);  // numbering is not touched
}

TEST_F(DamagedTable, RecordsBeyondTheCountAreRemoved) {
    Bytes b = base();
    b.insert(b.end(), 8, 1);  // a record the count does not include
    writeBytes(path("t.EDB"), b);
    ASSERT_TRUE(store.openTable(path("t"), {}, true));  // read-only: left as it is
    store.closeTable();
    EXPECT_EQ(readBytes(path("t.EDB")).size(), 196u);
    ASSERT_TRUE(store.openTable(path("t")));
    store.closeTable();
    EXPECT_EQ(readBytes(path("t.EDB")).size(), 188u);
}

class DamagedAux : public TableTest {
  protected:
    void SetUp() override {
        std::vector<FieldSpec> fields{{"m", 12, 0}};
        ASSERT_TRUE(store.createTable(path("t"), fields));
        good = readBytes(path("t.EDT"));
    }
    int openWith(const Bytes& aux, bool readOnly = false) {
        writeBytes(path("t.EDT"), aux);
        if (store.openTable(path("t"), {}, readOnly)) {
            store.closeTable();
            return 0;
        }
        return lastError();
    }
    Bytes with(std::size_t at, std::int32_t v) {
        Bytes b = good;
        format::storeI32(&b[at], v);
        return b;
    }
    Bytes good;
};

TEST_F(DamagedAux, EveryCheckOfTheAuxiliaryFile) {
    EXPECT_EQ(openWith(Bytes(good.begin(), good.begin() + 31)), -35);
    Bytes magic = good;
    magic[3] = 'B';
    EXPECT_EQ(openWith(magic), -35);
    EXPECT_EQ(openWith(with(16, 0)), -35);
    EXPECT_EQ(openWith(with(20, 1)), -35);  // free count beyond block count - 1
    EXPECT_EQ(openWith(with(24, -1)), -35);
    EXPECT_EQ(openWith(with(4, 0x00010001)), -36);
    EXPECT_EQ(openWith(with(16, 3), true), -37);
    std::filesystem::remove(path("t.EDT"));
    EXPECT_FALSE(store.openTable(path("t")));
    EXPECT_EQ(lastError(), -35);
}

TEST_F(DamagedAux, MissingBlocksAreCutFromTheBlockCount) {
    Bytes b = with(16, 4);
    b.resize(512 * 2 + 100);
    EXPECT_EQ(openWith(b), 0);
    EXPECT_EQ(i32At(readBytes(path("t.EDT")), 16), 2);
}

// ---- passwords -----------------------------------------------------------

// A one-int table with password `password`, made by enciphering a plain one
// (the re-keying operation is not part of this engine).
void encipher(const std::string& file, const std::string& password) {
    Bytes b = readBytes(file);
    std::copy(format::kCipheredMagic.begin(), format::kCipheredMagic.end(), b.begin());
    std::string check = passwordCheckString(password);
    std::copy(check.begin(), check.end(), b.begin() + 28);
    Cipher(password).apply(0, b);
    writeBytes(file, b);
}

TEST_F(TableTest, PasswordsMustMatchTheMagic) {
    createOneInt("plain");
    EXPECT_FALSE(store.openTable(path("plain"), {}, false, 1, "pw"));
    EXPECT_EQ(lastError(), -78);
    EXPECT_TRUE(store.openTable(path("plain"), {}, false, 1, "?"));  // "?" is never a password
    store.closeTable();

    createOneInt("locked");
    encipher(path("locked.EDB"), "pw");
    EXPECT_FALSE(store.openTable(path("locked")));
    EXPECT_EQ(lastError(), -78);
    EXPECT_FALSE(store.openTable(path("locked"), {}, false, 1, "PW"));
    EXPECT_EQ(lastError(), -78);
    ASSERT_TRUE(store.openTable(path("locked"), {}, false, 1, "pw"));
    EXPECT_TRUE(store.currentTableInfo()->enciphered);
    EXPECT_EQ(store.currentTableInfo()->recordLength, 8);
}

TEST_F(TableTest, TheCheckStringComparesWithoutLetterCase) {
    createOneInt("t");
    Bytes b = readBytes(path("t.EDB"));
    std::copy(format::kCipheredMagic.begin(), format::kCipheredMagic.end(), b.begin());
    std::string check = passwordCheckString("pw");
    for (char& c : check) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::copy(check.begin(), check.end(), b.begin() + 28);
    Cipher("pw").apply(0, b);
    writeBytes(path("t.EDB"), b);
    EXPECT_TRUE(store.openTable(path("t"), {}, false, 1, "pw"));
}

class ScriptedPrompt : public PasswordPrompt {
  public:
    std::deque<std::optional<std::string>> answers;
    std::vector<int> shown;
    std::optional<std::string> ask(int attemptsLeft) override {
        shown.push_back(attemptsLeft);
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

TEST_F(TableTest, QuestionMarkAsksUpToThreeTimes) {
    createOneInt("t");
    encipher(path("t.EDB"), "pw");
    ScriptedPrompt prompt;
    store.setPasswordPrompt(&prompt);

    prompt.answers = {"a", "b", "c"};
    EXPECT_FALSE(store.openTable(path("t"), {}, false, 1, "?"));
    EXPECT_EQ(lastError(), -78);
    EXPECT_EQ(prompt.shown, (std::vector<int>{3, 2, 1}));

    prompt.shown.clear();
    prompt.answers = {"a", "pw"};
    EXPECT_TRUE(store.openTable(path("t"), {}, false, 1, "?"));
    EXPECT_EQ(prompt.shown, (std::vector<int>{3, 2}));
    store.closeTable();

    prompt.shown.clear();
    prompt.answers = {std::nullopt};
    EXPECT_FALSE(store.openTable(path("t"), {}, false, 1, "?"));
    EXPECT_EQ(lastError(), -78);
    EXPECT_EQ(prompt.shown, (std::vector<int>{3}));
}

TEST(PasswordPromptTexts, AreTheDialogsOwn) {
    EXPECT_EQ(gbk::toUtf8(passwordCaption()), "密码输入");
    EXPECT_EQ(gbk::toUtf8(passwordPromptText()), "请输入数据库访问密码：");
    EXPECT_EQ(gbk::toUtf8(passwordRetryText(2)), "密码错误，您还有 2 次重新输入的机会。");
}

// ---- registry -------------------------------------------------------------

TEST_F(TableTest, ClosingWithoutANameClosesTheCurrentTable) {
    createOneInt("a");
    createOneInt("b");
    ASSERT_TRUE(store.openTable(path("a")));
    ASSERT_TRUE(store.openTable(path("b")));
    store.closeTable();
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_EQ(lastError(), -67);
    store.closeTable();  // none current: nothing happens, a stays open
    EXPECT_FALSE(store.openTable(path("a")));
    EXPECT_EQ(lastError(), -38);
}

TEST_F(TableTest, ClosingAnEarlierTableKeepsTheCurrentOne) {
    createOneInt("a");
    createOneInt("b");
    ASSERT_TRUE(store.openTable(path("a"), "first"));
    ASSERT_TRUE(store.openTable(path("b")));
    ASSERT_TRUE(store.appendRecord({Value{std::int32_t{1}}}));
    store.closeTable("FIRST");
    EXPECT_EQ(store.recordCount(), 1);
    EXPECT_EQ(store.currentTableInfo()->path, path("b.EDB"));
}

TEST_F(TableTest, CloseByTitleAndByFullPath) {
    createOneInt("加班"_gbk);
    createOneInt("b");
    auto gbkPath = gbk::fromUtf8(path("加班")).text;
    ASSERT_TRUE(store.openTable(gbkPath));
    ASSERT_TRUE(store.openTable(path("b")));
    store.closeTable("加班"_gbk);
    EXPECT_TRUE(store.openTable(gbkPath));  // it was closed
    store.closeTable(path("B.EDB"));
    EXPECT_TRUE(store.openTable(path("b")));
    store.closeTable("nothing");
    EXPECT_EQ(lastError(), 0);
}

TEST_F(TableTest, IndexFilesAreRefused) {
    createOneInt("t");
    std::vector<std::string> indexes{"t.ENX"};
    EXPECT_FALSE(store.openTable(path("t"), {}, false, 1, {}, indexes));
    EXPECT_EQ(lastError(), -30);
}

TEST(ErrorMessages, TableAndUnknownCodes) {
    EXPECT_EQ(gbk::toUtf8(errorMessage(-78)), "未提供数据库访问密码或提供了错误的密码");
    EXPECT_EQ(gbk::toUtf8(errorMessage(-16)), "字段数目必须大于 0 ");
    EXPECT_EQ(gbk::toUtf8(errorMessage(-77)), "未知错误");
    EXPECT_EQ(gbk::toUtf8(errorMessage(-81)), "未知错误");
    EXPECT_EQ(errorMessage(0), "");
}

}  // namespace
}  // namespace qinghe::recordstore
