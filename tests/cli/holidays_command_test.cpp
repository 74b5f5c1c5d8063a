#include "cli/holidays_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/days_command.h"
#include "datafolder/arrangements_file.h"
#include "run_command.h"

namespace qinghe::cli {
namespace {

Outcome run(const std::vector<std::string>& args) {
    return runCommand(runHolidays, args);
}

TEST(HolidaysCommand, OneLinePerMonthWithItsLimits) {
    Outcome r = run({"2013-10", "2014-03"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out,
              "2013-10\t国庆 3\t40\t40\t30\t110\n"
              "2013-11\t0\t42\t50\t0\t92\n"
              "2013-12\t0\t44\t40\t0\t84\n"
              "2014-01\t春节 除夕 元旦 3\t40\t40\t30\t110\n"
              "2014-02\t正月初二 1\t38\t40\t10\t88\n"
              "2014-03\t0\t42\t50\t0\t92\n");
    EXPECT_EQ(run({"2013-03"}).out, "2013-03\t0\t42\t50\t0\t92\n");
    EXPECT_EQ(run({"2020-10"}).out, "2020-10\t国庆 中秋节 4\t36\t50\t40\t126\n");
}

TEST(HolidaysCommand, BadMonthsExitWithUsageStatusAndAReason) {
    const std::vector<std::vector<std::string>> kBad = {
        {},
        {"2013-13"},
        {"2013-00"},
        {"text"},
        {"2013-1"},
        {"2013-10-01"},
        {"0099-01"},
        {"2013-10", "2013-09"},
        {"2013-10", "2013-11", "2013-12"},
        {"--rules", "now", "2013-10"},
        {"2013-10", "--rules"},
        {"--rules", "seed", "--rules", "seed", "2013-10"},
        {"--dir", "x", "2013-10"},
    };
    for (const auto& args : kBad) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}

Outcome days(const std::vector<std::string>& args) {
    return runCommand(runDays, args);
}

// A data folder of the test's own, so that no person's arrangements file is
// read; `file`, when given, is its 放假安排.txt.
class CalendarCommands : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/qinghe-days-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        const char* old = std::getenv("XDG_DATA_HOME");
        oldXdg_ = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_DATA_HOME", folder_.c_str(), 1);
    }
    void TearDown() override {
        if (oldXdg_)
            setenv("XDG_DATA_HOME", oldXdg_->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        std::filesystem::remove_all(folder_);
    }
    void writeOwnFile(const std::string& text) {
        std::filesystem::create_directories(folder_ / "qinghe");
        std::ofstream(folder_ / "qinghe" / "放假安排.txt") << text;
    }

    std::filesystem::path folder_;
    std::optional<std::string> oldXdg_;
};

TEST_F(CalendarCommands, HolidaysUnderTheCurrentRulesCountTheErasAndTheArrangements) {
    Outcome r = run({"--rules", "current", "2013-12", "2014-02"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out,
              "2013-12\t0\t44\t40\t0\t84\n"
              "2014-01\t春节 元旦 2\t44\t40\t20\t104\n"
              "2014-02\t正月初三 正月初二 2\t34\t60\t20\t114\n");
    EXPECT_EQ(run({"2025-10", "--rules", "current"}).out,
              "2025-10\t中秋节 国庆 4\t36\t50\t40\t126\n");
    EXPECT_EQ(run({"--rules", "seed", "2013-10"}).out, run({"2013-10"}).out);
}

TEST_F(CalendarCommands, EachDayItsKindPresetAndFestivalUnderEitherRules) {
    Outcome seed = days({"2020-09-30", "2020-10-04"});
    ASSERT_EQ(seed.status, kExitOk) << seed.err;
    EXPECT_EQ(seed.out,
              "2020-09-30\t工作日\tG1 2\t\n"
              "2020-10-01\t法定节假日\tG1 2\t中秋节\n"  // the first rule of the table that matches
              "2020-10-02\t法定节假日\tG1 2\t国庆\n"
              "2020-10-03\t法定节假日\tG2 10\t国庆\n"
              "2020-10-04\t周日\t休息\t\n");
    EXPECT_EQ(days({"--rules", "seed", "2020-09-30", "2020-10-04"}).out, seed.out);
    EXPECT_EQ(days({"2009-06-27"}).out,
              "2009-06-27\t法定节假日\tG2 10\t端午节\n");  // a leap month's

    Outcome current = days({"--rules", "current", "2026-02-14", "2026-02-23"});
    ASSERT_EQ(current.status, kExitOk) << current.err;
    EXPECT_EQ(current.err, "");
    EXPECT_EQ(current.out,
              "2026-02-14\t调休上班\tG1 2\t春节\n"
              "2026-02-15\t放假\t休息\t春节\n"
              "2026-02-16\t法定节假日\tG3 10\t除夕\n"
              "2026-02-17\t法定节假日\tG3 10\t春节\n"
              "2026-02-18\t法定节假日\tG3 10\t正月初二\n"
              "2026-02-19\t法定节假日\tG3 10\t正月初三\n"
              "2026-02-20\t放假\tG2 10\t春节\n"
              "2026-02-21\t放假\tG2 10\t春节\n"
              "2026-02-22\t放假\t休息\t春节\n"
              "2026-02-23\t放假\tG2 10\t春节\n");
    const std::pair<const char*, const char*> kDays[] = {
        {"2015-09-03", "2015-09-03\t法定节假日\tG3 10\t纪念日\n"},
        {"2015-09-04", "2015-09-04\t放假\tG2 10\t抗战胜利纪念日\n"},
        {"2025-05-02", "2025-05-02\t法定节假日\tG3 10\t劳动节\n"},
        {"2024-05-02", "2024-05-02\t放假\tG2 10\t劳动节\n"},
        {"2007-10-03", "2007-10-03\t法定节假日\tG3 10\t国庆\n"},
        {"2009-06-27", "2009-06-27\t周六\tG2 10\t\n"},
        {"2027-10-02", "2027-10-02\t法定节假日\tG3 10\t国庆\n"},
        {"2027-10-04", "2027-10-04\t工作日\tG1 2\t\n"},
    };
    for (const auto& [date, line] : kDays)
        EXPECT_EQ(days({date, "--rules", "current"}).out, line) << date;
}

TEST_F(CalendarCommands, APersonsFileAddsAYearAndOneThatCannotBeUsedIsSaidAndSetAside) {
    writeOwnFile(
        "# 2027\n2027-10-01\trest\t国庆\n2027-10-04\trest\t国庆\n2027-09-26\twork\t国庆\n");
    EXPECT_EQ(days({"--rules", "current", "2027-10-04"}).out, "2027-10-04\t放假\tG2 10\t国庆\n");
    EXPECT_EQ(days({"2027-10-04"}).out, "2027-10-04\t工作日\tG1 2\t\n") << "seed reads no file";

    // A file that cannot be used is said on the error stream and set aside
    // whole; the days are those of the built-in list alone.
    const std::pair<std::string, const char*> kFiles[] = {
        {"2027-10-01\trest\t国庆\n2027-10-4\trest\t国庆\n",
         "放假安排.txt line 2: the date is not of the form YYYY-MM-DD; the file is ignored\n"},
        {"2027-10-04\trest\t国\x1B[2J庆\n",  // never printed raw
         "放假安排.txt line 1: the festival holds a control character; the file is ignored\n"},
        {"2027-10-04\trest\t \xE3\x80\x80\n",
         "放假安排.txt line 1: the festival is missing or blanks only; the file is ignored\n"},
        {"2027-10-04\trest\t国庆\n2027-10-02\twork\t国庆\n",
         "放假安排.txt line 2: the day is a statutory holiday, never a working day; the file is "
         "ignored\n"},
        {"2027-10-04\trest\t国庆\n" + std::string(1 << 20, '#'),
         "放假安排.txt is larger than 1 MiB; the file is ignored\n"},
        {"", ""},  // an empty file adds nothing and is no fault
    };
    for (const auto& [text, said] : kFiles) {
        writeOwnFile(text);
        Outcome r = days({"--rules", "current", "2027-10-04"});
        EXPECT_EQ(r.status, kExitOk);
        EXPECT_EQ(r.out, "2027-10-04\t工作日\tG1 2\t\n") << said;
        EXPECT_TRUE(*said ? r.err.starts_with("qinghe-cli days: ") && r.err.ends_with(said)
                          : r.err.empty())
            << r.err;
    }
    std::filesystem::remove(folder_ / "qinghe" / "放假安排.txt");
    std::filesystem::create_directory(folder_ / "qinghe" / "放假安排.txt");
    Outcome h = runCommand(runHolidays, {"--rules", "current", "2027-10"});
    EXPECT_EQ(h.out, "2027-10\t国庆 3\t40\t40\t30\t110\n");
    EXPECT_TRUE(h.err.starts_with("qinghe-cli holidays: ") &&
                h.err.ends_with("放假安排.txt cannot be read: 无效的路径; the file is ignored\n"))
        << h.err;
}

// Every fault of a line has words of its own, in either language.
TEST(ArrangementFaults, EachHasItsOwnWords) {
    std::set<std::string> english, chinese;
    for (int f = 0; f <= static_cast<int>(wages::ArrangementFault::StatutoryWorkDay); ++f) {
        const auto fault = static_cast<wages::ArrangementFault>(f);
        const datafolder::FaultWords& words = datafolder::faultWords(fault);
        EXPECT_EQ(words.fault, fault) << f;
        english.insert(words.english);
        chinese.insert(words.chinese);
    }
    EXPECT_EQ(english.size(), chinese.size());
    EXPECT_EQ(english.size(),
              static_cast<std::size_t>(wages::ArrangementFault::StatutoryWorkDay) + 1);
}

TEST_F(CalendarCommands, DaysRefusesBadDatesAndOptions) {
    const std::vector<std::vector<std::string>> kBad = {
        {},
        {"1901-02-18"},
        {"2049-01-01"},
        {"2048-12-31", "2049-01-01"},
        {"2013-10-02", "2013-10-01"},
        {"2013-10"},
        {"2013-10-01T10:00:00"},
        {"2013-10-01", "2013-10-02", "2013-10-03"},
        {"--rules", "Current", "2013-10-01"},
        {"--rules"},
        {"--night", "2013-10-01"},
    };
    for (const auto& args : kBad) {
        Outcome r = days(args);
        EXPECT_EQ(r.status, kExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(days({"1901-02-19", "1901-02-19"}).status, kExitOk);
    EXPECT_EQ(days({"2048-12-31"}).status, kExitOk);
}

}  // namespace
}  // namespace qinghe::cli
