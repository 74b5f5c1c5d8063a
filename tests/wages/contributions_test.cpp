#include "wages/contributions.h"

#include <gtest/gtest.h>

#include "common/gbk.h"

namespace qinghe::wages {
namespace {

// A city's figures as a notice gives them (yuan): social insurance 4,492 to
// 22,458, housing fund 2,690 to 37,302.
constexpr BaseBounds kSocialBounds = {4492'00, 22458'00};
constexpr BaseBounds kFundBounds = {2690'00, 37302'00};

ContributionTerms inCity(Fen base) {
    ContributionTerms terms;
    terms.base = base;
    terms.socialBounds = kSocialBounds;
    terms.fundBounds = kFundBounds;
    return terms;
}

// Each case worked by hand: the bases used, the items, their total and the
// taxable fund.
struct Worked {
    Fen socialUsed, pension, medical, unemployment, fundUsed, fund, total, taxable;
};

TEST(Contributions, FromTheBasesItemByItem) {
    const struct {
        const char* what;
        ContributionTerms terms;
        Worked want;
    } cases[] = {
        {"the default rates, no city",
         {.base = 8000'00},
         {8000'00, 640'00, 160'00, 40'00, 8000'00, 960'00, 1800'00, 0}},
        {"a base under the floor counts as the floor; the fund base has its own",
         inCity(3000'00),
         {4492'00, 359'36, 89'84, 22'46, 3000'00, 360'00, 831'66, 0}},
        {"a base over the cap counts as the cap",
         inCity(30000'00),
         {22458'00, 1796'64, 449'16, 112'29, 30000'00, 3600'00, 5958'09, 0}},
        {"half a fen rounds up: 2,001 x 0.5 % = 10.005",
         {.base = 2001'00},
         {2001'00, 160'08, 40'02, 10'01, 2001'00, 240'12, 450'23, 0}},
        {"the fund to the yuan, half up: 4,537.50 x 12 % = 544.50",
         {.base = 4537'50, .fundRounding = FundRounding::ToYuan},
         {4537'50, 363'00, 90'75, 22'69, 4537'50, 545'00, 1021'44, 0}},
        {"the fund at 15 %: the part above 12 % is taxable",
         {.base = 10000'50, .rates = {.housingFund = 1500}},
         {10000'50, 800'04, 200'01, 50'00, 10000'50, 1500'08, 2550'13, 300'02}},
        {"a fund base over its cap, at its own rate",
         {.base = 8000'00, .fundBase = 40000'00, .fundBounds = kFundBounds},
         {8000'00, 640'00, 160'00, 40'00, 37302'00, 4476'24, 5316'24, 0}},
    };
    for (const auto& [what, terms, want] : cases) {
        const Contributions r = contributions(terms);
        EXPECT_EQ(r.socialBase.used, want.socialUsed) << what;
        EXPECT_EQ(r.pension.amount, want.pension) << what;
        EXPECT_EQ(r.medical.amount, want.medical) << what;
        EXPECT_EQ(r.unemployment.amount, want.unemployment) << what;
        EXPECT_EQ(r.fundBase.used, want.fundUsed) << what;
        EXPECT_EQ(r.housingFund.amount, want.fund) << what;
        EXPECT_EQ(r.total, want.total) << what;
        EXPECT_EQ(r.taxableFund, want.taxable) << what;
        EXPECT_EQ(r.specialDeduction(), want.total - want.taxable) << what;
    }
}

// A figure typed for the fund on a base above the city's cap: only 12 % of
// the cap is deducted. Nothing is taxable at 12 % or below, whatever the
// rounding.
TEST(Contributions, TheTaxableFundOfATypedFigure) {
    const Fen capped = clampBase(40000'00, kFundBounds).used;
    EXPECT_EQ(taxableHousingFund(4800'00, capped, FundRounding::ToFen), 323'76);
    EXPECT_EQ(taxableHousingFund(4800'00, capped, FundRounding::ToYuan), 324'00);
    for (auto rounding : {FundRounding::ToFen, FundRounding::ToYuan}) {
        EXPECT_EQ(contributions({.base = 8333'33, .fundRounding = rounding}).taxableFund, 0);
    }
}

TEST(Contributions, TheCitysFiguresReplaceTheDefaultsAndTheResultSaysWhatWasApplied) {
    CityNumbers city;
    city.socialFloor = 4492'00;
    city.fundCap = 37302'00;
    city.medicalFixed = 3'00;
    city.pensionRate = 850;
    const ContributionTerms terms = withCityFigures({.base = 3000'00, .fundBase = 40000'00}, city);
    EXPECT_EQ(terms.rates.pension, 850);
    EXPECT_EQ(terms.rates.medical, 200) << "a rate the city does not set keeps its default";
    const Contributions r = contributions(terms);
    EXPECT_EQ(r.pension.amount, 381'82);  // 4,492 x 8.5 %
    EXPECT_EQ(r.medical.amount, 92'84);
    std::vector<std::string> said;
    for (const std::string& note : contributionNotes(r)) said.push_back(gbk::toUtf8(note));
    EXPECT_EQ(said, (std::vector<std::string>{"社保缴费基数低于本市下限4492.00元，按下限计算",
                                              "公积金缴费基数高于本市上限37302.00元，按上限计算"}));
    const Contributions taxed = contributions({.base = 10000'00, .rates = {.housingFund = 1500}});
    ASSERT_EQ(contributionNotes(taxed).size(), 1U);
    EXPECT_EQ(gbk::toUtf8(contributionNotes(taxed)[0]),
              "住房公积金超过缴费基数12%的部分300.00元并入工资计税（财税〔2006〕10号）");
    EXPECT_TRUE(contributionNotes(contributions({.base = 8000'00})).empty());
}

}  // namespace
}  // namespace qinghe::wages
