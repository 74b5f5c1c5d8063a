// The city figures file through the data folder's door: used whole or not
// at all.
#include "datafolder/city_figures_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "journal/journal_fixture.h"

namespace qinghe::datafolder {
namespace {

using Kind = CityFiguresProblem::Kind;

TEST(CityFiguresFile, ABadLineOrAnOversizedFileIsIgnoredWhole) {
    journal::testing::TempFolder temp;
    const DataFolder folder(temp.path().string());
    const std::string good = "# 本市\n2025-07\t最低工资\t2690\n2025-07\t社保基数下限\t4492\n";
    const struct {
        std::string text;
        std::optional<Kind> problem;
        int line;
    } cases[] = {
        {good, std::nullopt, 0},
        {good + "2025-07\t社保基数上限\t4000\n", Kind::BadLine, 4},
        {good + "2025-08\t最低工资\t两千\n", Kind::BadLine, 4},
        {good + std::string(kMaxCityFiguresFileBytes, '#'), Kind::TooLarge, 0},
    };
    for (const auto& c : cases) {
        // The name is found in any letter case of its extension.
        std::ofstream(temp.path() / "城市参数.TXT", std::ios::binary) << c.text;
        const LoadedCityFigures loaded = loadCityFigures(folder);
        ASSERT_EQ(loaded.problem.has_value(), c.problem.has_value()) << c.text.substr(0, 80);
        if (!c.problem) {
            EXPECT_EQ(loaded.figures.inForce(2025, 7).socialFloor, 4492'00);
            continue;
        }
        EXPECT_EQ(loaded.problem->kind, *c.problem);
        EXPECT_EQ(loaded.problem->badLine.line, c.line);
        EXPECT_EQ(loaded.problem->path, (temp.path() / "城市参数.TXT").string());
        EXPECT_TRUE(loaded.figures.empty()) << "not even the good lines";
    }
    std::filesystem::remove(temp.path() / "城市参数.TXT");
    const LoadedCityFigures none = loadCityFigures(folder);
    EXPECT_FALSE(none.problem) << "no file is no problem";
    EXPECT_TRUE(none.figures.empty());
}

}  // namespace
}  // namespace qinghe::datafolder
