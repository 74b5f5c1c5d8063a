#include "cli/holidays_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    };
    for (const auto& args : kBad) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, kExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}

}  // namespace
}  // namespace qinghe::cli
