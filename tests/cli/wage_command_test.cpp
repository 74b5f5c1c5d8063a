#include "cli/wage_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "run_command.h"
#include "testing/wage_examples.h"

namespace qinghe::cli {
namespace {

Outcome wage(const std::vector<std::string>& args) {
    return runCommand(runWage, args);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(CliWage, WithoutArgumentsPrintsTheOpeningForm) {
    Outcome r = wage({});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(lines(r.out), wages::examples::kOpeningFormCaptions);
    EXPECT_TRUE(r.err.empty());
}

TEST(CliWage, WorkedExamples) {
    for (const auto* example : {&wages::examples::kOvertimeAndLeave, &wages::examples::kTaxed}) {
        std::vector<std::string> args;
        for (const auto& [key, text] : example->texts) args.push_back(key + "=" + text);
        Outcome r = wage(args);
        ASSERT_EQ(r.status, kExitOk);
        const auto l = lines(r.out);
        ASSERT_EQ(l.size(), 20u);
        for (const auto& [index, caption] : example->captions) EXPECT_EQ(l[index], caption);
    }
}

TEST(CliWage, ValuesAreReadAsTheBoxesReadThem) {
    const auto l =
        lines(wage({"正常工作时间工资=１８２０元", "考核岗位津贴=", "技能津贴=abc"}).out);
    EXPECT_EQ(l[8], "时薪：10.46");  // 1820 / 21.75 / 8
    EXPECT_EQ(l[11], "应发工资：2020");
    // The last of repeated keys counts.
    EXPECT_EQ(lines(wage({"正常工作天数=1", "正常工作天数=0"}).out)[8], "时薪：无法计算");
}

TEST(CliWage, BadArgumentsAreUsageErrors) {
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"正常工作时间工资"}, {"工资=1"}, {"=1"}, {"夜班=夜班"}, {"其它加项=1😀"}}) {
        Outcome r = wage(bad);
        EXPECT_EQ(r.status, kExitUsage) << bad[0];
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}

}  // namespace
}  // namespace qinghe::cli
