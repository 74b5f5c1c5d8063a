#include "cli/lunar_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_command.h"

namespace qinghe::cli {
namespace {

Outcome run(const std::vector<std::string>& args) {
    return runCommand(runLunar, args);
}

TEST(LunarCommand, OneLinePerDayWithTheTimeOfFrom) {
    Outcome r = run({"2013-02-03T23:00:00", "2013-02-04"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out,
              "2013-02-03\t2012\t12\t23\t0\t29\t0\t\t壬辰年(龙)腊月廿三 2013-2-3\n"
              "2013-02-04\t2012\t12\t24\t0\t29\t1\t立春\t癸巳年(蛇)腊月廿四 2013-2-4\n");
    // At midnight 2013-02-04 is still before 立春 (00:13:20).
    EXPECT_EQ(run({"2013-02-04"}).out,
              "2013-02-04\t2012\t12\t24\t0\t29\t1\t立春\t壬辰年(龙)腊月廿四 2013-2-4\n");
}

TEST(LunarCommand, LeapMonthsAndTerms) {
    EXPECT_EQ(run({"2020-05-23"}).out,
              "2020-05-23\t2020\t4\t1\t1\t29\t0\t\t庚子年(鼠)闰四月初一 2020-5-23\n");
    EXPECT_EQ(run({"2013-04-04"}).out,
              "2013-04-04\t2013\t2\t24\t0\t29\t5\t清明\t癸巳年(蛇)二月廿四 2013-4-4\n");
}

TEST(LunarCommand, DaysOutsideTheCalendarShowDashes) {
    Outcome r = run({"1901-02-18", "1901-02-19"});
    ASSERT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.out,
              "1901-02-18\t-\t-\t-\t-\t0\t-\t\t年() 1901-2-18\n"
              "1901-02-19\t1901\t1\t1\t0\t29\t2\t雨水\t辛丑年(牛)正月初一 1901-2-19\n");
    EXPECT_EQ(run({"2049-01-01"}).out, "2049-01-01\t-\t-\t-\t-\t0\t-\t\t年() 2049-1-1\n");
    EXPECT_EQ(run({"1899-12-29T12:00:00"}).out,
              "1899-12-29\t-\t-\t-\t-\t0\t-\t\t年() 1899-12-29\n");
}

TEST(LunarCommand, BadArgumentsExitWithUsageStatusAndAReason) {
    const std::vector<std::vector<std::string>> kBad = {
        {},
        {"2013-02-30"},
        {"2013-13-01"},
        {"text"},
        {"2013-1-5"},
        {"2013-01-05x"},
        {"0099-01-01"},
        {"2013-01-05T24:00:00"},
        {"2013-01-05T12:60:00"},
        {"2013-01-05 12:00:00"},
        {"2013-01-05", "2013-01-05T00:00:00"},
        {"2013-01-05", "2013-01-04"},
        {"2013-01-05", "2013-01-06", "2013-01-07"},
    };
    for (const auto& args : kBad) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_NE(run({"2013-02-30"}).err.find("2013-02-30 does not exist"), std::string::npos);
}

}  // namespace
}  // namespace qinghe::cli
