#include "wages/arrangements.h"

#include <gtest/gtest.h>

#include "common/datetime.h"
#include "common/gbk.h"

namespace qinghe::wages {
namespace {

const Arrangements& parsed(const std::variant<Arrangements, ArrangementError>& result) {
    EXPECT_TRUE(std::holds_alternative<Arrangements>(result))
        << "line " << std::get<ArrangementError>(result).line;
    static const Arrangements kNone;
    return std::holds_alternative<Arrangements>(result) ? std::get<Arrangements>(result) : kNone;
}

TEST(Arrangements, TheBuiltInListKnows2004To2026AndHoldsTogether) {
    const Arrangements& list = Arrangements::builtIn();
    ASSERT_FALSE(list.empty()) << "the compiled-in list did not parse";
    for (int year = 2000; year <= 2030; ++year)
        EXPECT_EQ(list.knowsYear(year), year >= 2004 && year <= 2026) << year;
    int working = 0;
    for (const auto& [day, arrangement] : list.between(0, daysFromCivil(2100, 1, 1))) {
        // A make-up working day is always a Saturday or a Sunday.
        const int weekday = weekdayOf(static_cast<DateTime>(day));
        if (arrangement->kind == Arranged::WorkDay) {
            ++working;
            EXPECT_TRUE(weekday == 1 || weekday == 7) << day;
        }
        EXPECT_FALSE(arrangement->festival.empty()) << day;
    }
    EXPECT_GT(working, 100);
    const Arrangement* national = list.find(daysFromCivil(2025, 10, 8));
    ASSERT_NE(national, nullptr);
    EXPECT_EQ(national->kind, Arranged::DayOff) << "an inlieu day is a day off";
    EXPECT_EQ(gbk::toUtf8(national->festival), "国庆");
    EXPECT_EQ(list.find(daysFromCivil(2025, 10, 9)), nullptr);
    EXPECT_EQ(list.find(daysFromCivil(2025, 10, 11))->kind, Arranged::WorkDay);
}

TEST(Arrangements, ABadLineIsReportedByItsNumber) {
    using namespace std::string_view_literals;
    struct Case {
        std::string_view text;
        int line;
        ArrangementFault fault;
    };
    const Case kCases[] = {
        {"2027-02-06\trest\t春节\n2027-2-7\trest\t春节\n", 2, ArrangementFault::BadDate},
        {"# 注释\n\n2027-02-30\trest\t春节\n", 3, ArrangementFault::BadDate},
        {"0099-01-01\trest\t元旦\n", 1, ArrangementFault::BadDate},
        {"2027-02-06\tholiday\t春节\n", 1, ArrangementFault::BadKind},
        {"2027-02-06\trest\t\n", 1, ArrangementFault::NoFestival},
        {"2027-02-06\trest\t 　 \n", 1, ArrangementFault::NoFestival},  // spaces, ideographic too
        {"2027-02-06\trest\t\xF0\x9F\x8E\x86\n", 1, ArrangementFault::FestivalNotGbk},
        {"2027-02-06\trest\t一二三四五六七八九十一二三四五六七八九十一\n", 1,
         ArrangementFault::FestivalTooLong},  // 42 bytes
        {"2027-02-06\trest\t春\0节\n"sv, 1, ArrangementFault::ControlCharacter},
        {"2027-02-06\trest\t\x1B[2J春节\n", 1, ArrangementFault::ControlCharacter},
        {"2027-02-06\trest\t春节\x7F\n", 1, ArrangementFault::ControlCharacter},
        {"2027-02-06\trest\t春\xC2\x85节\n", 1, ArrangementFault::ControlCharacter},  // C1
        {"2027-02-06\trest\t春节\r\r\n", 1, ArrangementFault::ControlCharacter},
        {"2027-02-06\twork\t春节\n", 1, ArrangementFault::StatutoryWorkDay},
        {"2027-01-01\trest\t元旦\n2027-10-02\twork\t国庆\n", 2, ArrangementFault::StatutoryWorkDay},
        {"2027-02-06\trest\n", 1, ArrangementFault::BadFields},
        {"2027-02-06 rest 春节\n", 1, ArrangementFault::BadFields},
        {"2027-02-06\trest\t春节\textra\n", 1, ArrangementFault::BadFields},
        {"2027-02-13\trest\t春节\r\n2027-02-15\tinlieu\t春节\r\n2027-02-13\twork\t春节\r\n", 3,
         ArrangementFault::Contradicted},
        {"2027-02-14\twork\t春节\n2027-02-13\trest\t春节\n2027-02-14\tinlieu\t春节\n", 3,
         ArrangementFault::Contradicted},
    };
    for (const auto& c : kCases) {
        const auto result = Arrangements::parse(c.text);
        ASSERT_TRUE(std::holds_alternative<ArrangementError>(result)) << c.text;
        EXPECT_EQ(std::get<ArrangementError>(result).line, c.line) << c.text;
        EXPECT_EQ(std::get<ArrangementError>(result).fault, c.fault) << c.text;
    }
}

TEST(Arrangements, APersonsFileReplacesTheYearsItListsWhole) {
    // A byte-order mark, CR LF, comments, a day listed twice alike.
    const auto own = Arrangements::parse(
        "\xEF\xBB\xBF# 我的安排\r\n2026-10-01\trest\t国庆\r\n2026-10-01\trest\t国庆节\r\n"
        "2027-02-06\trest\t春节\n2027-02-20\twork\t春节");
    const Arrangements merged = Arrangements::builtIn().overriddenBy(parsed(own));
    for (int year : {2004, 2026, 2027}) EXPECT_TRUE(merged.knowsYear(year)) << year;
    EXPECT_FALSE(merged.knowsYear(2028));
    EXPECT_EQ(gbk::toUtf8(merged.find(daysFromCivil(2026, 10, 1))->festival), "国庆")
        << "the first line of a day gives its festival";
    EXPECT_EQ(merged.find(daysFromCivil(2026, 10, 2)), nullptr) << "2026 is the person's alone";
    EXPECT_EQ(merged.find(daysFromCivil(2026, 2, 17)), nullptr);
    EXPECT_EQ(merged.find(daysFromCivil(2027, 2, 20))->kind, Arranged::WorkDay);
    EXPECT_NE(merged.find(daysFromCivil(2025, 10, 1)), nullptr) << "other years are kept";
    EXPECT_EQ(merged.between(daysFromCivil(2026, 1, 1), daysFromCivil(2027, 12, 31)).size(), 3U);
}

}  // namespace
}  // namespace qinghe::wages
