#include "lunar/solar_terms.h"

#include <gtest/gtest.h>

#include "common/datetime.h"
#include "common/gbk.h"

namespace qinghe::lunar {
namespace {

using Row = std::array<SolarTermMoment, kTermsPerYear>;

void expectRow(int year, const Row& expected, int count) {
    for (int e = 1; e <= count; ++e) {
        const SolarTermMoment& m = solarTermMoment(year, e);
        const SolarTermMoment& x = expected[static_cast<std::size_t>(e - 1)];
        EXPECT_EQ(std::tie(m.month, m.day, m.hour, m.minute, m.second),
                  std::tie(x.month, x.day, x.hour, x.minute, x.second))
            << year << " entry " << e;
    }
}

TEST(SolarTermTable, Year2013IsAsPublished) {
    const Row k2013 = {
        {{1, 5, 12, 33, 33},  {1, 20, 5, 51, 38},  {2, 4, 0, 13, 20},   {2, 18, 20, 1, 30},
         {3, 5, 18, 14, 45},  {3, 20, 19, 1, 50},  {4, 4, 23, 2, 21},   {4, 20, 6, 3, 11},
         {5, 5, 16, 18, 4},   {5, 21, 5, 9, 24},   {6, 5, 20, 23, 14},  {6, 21, 13, 3, 51},
         {7, 7, 6, 34, 30},   {7, 22, 23, 55, 53}, {8, 7, 16, 20, 15},  {8, 23, 7, 1, 36},
         {9, 7, 19, 16, 9},   {9, 23, 4, 44, 2},   {10, 8, 10, 58, 23}, {10, 23, 14, 9, 43},
         {11, 7, 14, 13, 47}, {11, 22, 11, 48, 1}, {12, 7, 7, 8, 26},   {12, 22, 1, 10, 54}}};
    expectRow(2013, k2013, kTermsPerYear);
}

TEST(SolarTermTable, Year1901StartsAsPublished) {
    const Row k1901 = {{{1, 6, 7, 53, 30}, {1, 21, 1, 16, 34}, {2, 4, 19, 39, 59}}};
    expectRow(1901, k1901, 3);
}

// Each year's moments are valid, in order, and 14 to 16 days apart, also
// across the turn of the year; each term of a year lies in its usual month.
TEST(SolarTermTable, EveryYearIsOrderedAndEvenlySpaced) {
    double previous = 0.0;
    for (int y = kFirstTermYear; y <= kLastTermYear; ++y) {
        for (int e = 1; e <= kTermsPerYear; ++e) {
            const SolarTermMoment& m = solarTermMoment(y, e);
            ASSERT_EQ(m.month, (e + 1) / 2) << y << " entry " << e;
            ASSERT_GE(m.day, 1);
            ASSERT_LE(m.day, daysInMonth(y, m.month)) << y << " entry " << e;
            ASSERT_LT(m.hour, 24);
            ASSERT_LT(m.minute, 60);
            ASSERT_LT(m.second, 60);
            // Linear days (a DateTime before 1899-12-30 counts its time of day backwards).
            double moment = static_cast<double>(daysFromCivil(y, m.month, m.day)) +
                            (m.hour * 3600.0 + m.minute * 60.0 + m.second) / 86400.0;
            if (previous != 0.0) {
                ASSERT_GE(moment - previous, 14.0) << y << " entry " << e;
                ASSERT_LE(moment - previous, 16.0) << y << " entry " << e;
            }
            previous = moment;
        }
    }
}

TEST(SolarTermTable, DayLookupFindsEachEntryAndNothingElse) {
    for (int y : {kFirstTermYear, 1901, 2013, 2048, kLastTermYear}) {
        int found = 0;
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= daysInMonth(y, m); ++d) {
                int e = solarTermEntryOfDay(y, m, d);
                if (e == 0) continue;
                ++found;
                EXPECT_EQ(solarTermMoment(y, e).month, m);
                EXPECT_EQ(solarTermMoment(y, e).day, d);
            }
        }
        EXPECT_EQ(found, kTermsPerYear) << y;
    }
    EXPECT_EQ(solarTermEntryOfDay(kFirstTermYear - 1, 1, 6), 0);
    EXPECT_EQ(solarTermEntryOfDay(kLastTermYear + 1, 1, 5), 0);
}

TEST(SolarTermTable, NumbersCountFromLichun) {
    EXPECT_EQ(termNumberOfEntry(3), 1);
    EXPECT_EQ(termNumberOfEntry(7), 5);
    EXPECT_EQ(termNumberOfEntry(24), 22);
    EXPECT_EQ(termNumberOfEntry(1), 23);
    EXPECT_EQ(termNumberOfEntry(2), 24);
    EXPECT_EQ(gbk::toUtf8(solarTermName(7)), "清明");
    EXPECT_EQ(gbk::toUtf8(solarTermName(24)), "冬至");
}

}  // namespace
}  // namespace qinghe::lunar
