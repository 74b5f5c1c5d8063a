#include "wages/city_figures.h"

#include <gtest/gtest.h>

namespace qinghe::wages {
namespace {

TEST(CityFigures, ABadLineIsReportedByItsNumber) {
    const struct {
        const char* text;
        int line;
        CityFault fault;
    } cases[] = {
        {"2025-07\t社保基数下限\t4492\n2025-7\t最低工资\t2690\n", 2, CityFault::BadMonth},
        {"# 注释\n\n2025-13\t最低工资\t2690\n", 3, CityFault::BadMonth},
        {"0099-12\t最低工资\t2690\n", 1, CityFault::BadMonth},
        {"2025-07\t最低工资标准\t2690\n", 1, CityFault::BadKey},
        {"2025-07\t最低工资\t-1\n", 1, CityFault::BadValue},
        {"2025-07\t最低工资\t2690.005\n", 1, CityFault::BadValue},
        {"2025-07\t最低工资\t2,690\n", 1, CityFault::BadValue},
        {"2025-07\t医疗固定额\t100.01\n2025-07\t养老比例\t100.01\n", 2, CityFault::BadValue},
        {"2025-07\t最低工资\n", 1, CityFault::BadFields},
        {"2025-07 最低工资 2690\n", 1, CityFault::BadFields},
        {"2025-07\t最低工资\t2690\t元\n", 1, CityFault::BadFields},
        // The second line of one key and month, wherever the first stands.
        {"2025-07\t最低工资\t2690\r\n2024-07\t最低工资\t2590\r\n2025-07\t最低工资\t2690\r\n", 3,
         CityFault::Repeated},
        // A floor raised past the cap in force, a cap lowered below the floor,
        // both in one month: the line that crosses, or the later of the two.
        {"2024-07\t社保基数上限\t20000\n2025-07\t社保基数下限\t25000\n", 2,
         CityFault::FloorAboveCap},
        {"2024-07\t公积金基数下限\t3000\n2025-07\t公积金基数上限\t2999.99\n", 2,
         CityFault::FloorAboveCap},
        {"2025-07\t社保基数上限\t4000\n2025-07\t社保基数下限\t5000\n", 2, CityFault::FloorAboveCap},
    };
    for (const auto& c : cases) {
        const auto result = CityFigures::parse(c.text);
        ASSERT_TRUE(std::holds_alternative<CityFiguresError>(result)) << c.text;
        EXPECT_EQ(std::get<CityFiguresError>(result).line, c.line) << c.text;
        EXPECT_EQ(std::get<CityFiguresError>(result).fault, c.fault) << c.text;
    }
}

// Each figure from its month until the next line of its key; a floor and
// its cap raised together in one month are never crossed, in any order.
TEST(CityFigures, EachFigureHoldsFromItsMonthUntilTheNextOfItsKey) {
    const auto parsed = CityFigures::parse(
        "\xEF\xBB\xBF# 示例\r\n"
        "2024-07\t最低工资\t2590\r\n"
        "2024-07\t社保基数下限\t4000\n"
        "2024-07\t社保基数上限\t20000\n"
        "2025-07\t社保基数下限\t25000\n"
        "2025-07\t社保基数上限\t30000\n"
        "2025-07\t最低工资\t2690\n"
        "2025-01\t失业比例\t0.5\n"
        "2025-01\t公积金比例\t100\n");
    ASSERT_TRUE(std::holds_alternative<CityFigures>(parsed))
        << std::get<CityFiguresError>(parsed).line;
    const CityFigures& city = std::get<CityFigures>(parsed);
    const struct {
        int year, month;
        std::optional<Fen> minimumWage, socialFloor;
        std::optional<Hundredths> unemploymentRate;
    } cases[] = {
        {2024, 6, std::nullopt, std::nullopt, std::nullopt},
        {2024, 7, 2590'00, 4000'00, std::nullopt},
        {2025, 1, 2590'00, 4000'00, 50},
        {2025, 6, 2590'00, 4000'00, 50},
        {2025, 7, 2690'00, 25000'00, 50},
        {2040, 12, 2690'00, 25000'00, 50},
    };
    for (const auto& c : cases) {
        const CityNumbers n = city.inForce(c.year, c.month);
        EXPECT_EQ(n.minimumWage, c.minimumWage) << c.year << "-" << c.month;
        EXPECT_EQ(n.socialFloor, c.socialFloor) << c.year << "-" << c.month;
        EXPECT_EQ(n.unemploymentRate, c.unemploymentRate) << c.year << "-" << c.month;
        EXPECT_FALSE(n.fundFloor) << "a key the file never gives stays unknown";
    }
    EXPECT_EQ(city.inForce(2025, 7).socialCap, 30000'00);
    EXPECT_EQ(city.inForce(2025, 7).fundRate, 100'00);
}

}  // namespace
}  // namespace qinghe::wages
