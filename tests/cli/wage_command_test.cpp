#include "cli/wage_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qinghe::cli {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome wage(std::vector<std::string> args) {
    std::ostringstream out, err;
    int status = runWage(args, out, err);
    return {status, out.str(), err.str()};
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
    const auto l = lines(r.out);
    ASSERT_EQ(l.size(), 20u);
    EXPECT_EQ(l.front(), "个人所得税代扣:0");
    EXPECT_EQ(l[12], "实发工资：1944.4");
    EXPECT_EQ(l.back(), "节假日10小时薪资：348.3");
    EXPECT_TRUE(r.err.empty());
}

TEST(CliWage, ValuesAreReadAsTheBoxesReadThem) {
    Outcome r = wage({"正常工作时间工资=10000", "考核岗位津贴=", "技能津贴=0", "特殊岗位津贴=0元",
                      "社保代扣=0", "伙食费代扣=0", "G1加班小时数=１０"});
    ASSERT_EQ(r.status, kExitOk);
    const auto l = lines(r.out);
    EXPECT_EQ(l[0], "个人所得税代扣:917.41");
    EXPECT_EQ(l[12], "实发工资：9944.64");
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
