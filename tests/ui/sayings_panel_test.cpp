// The sayings panel's script: what it writes, where, and how long it waits
// before each piece; and the wait that keeps the window working.
#include "ui/sayings_panel.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTimer>
#include <numeric>

#include "common/gbk.h"
#include "testing/fixed_clock.h"
#include "ui/delay_with_events.h"
#include "ui/drawing_panel.h"

namespace qinghe::ui {
namespace {

using namespace literals;

QPixmap plainBackground(qreal devicePixelRatio) {
    QPixmap p(QSize(916, 691) * devicePixelRatio);
    p.setDevicePixelRatio(devicePixelRatio);
    p.fill(Qt::white);
    return p;
}

TEST(SayingsPanel, TheTextsKeepTheirForms) {
    const std::span<const PlacedText> tips = sayingsPanelTips();
    ASSERT_EQ(tips.size(), 5u);
    // The last points to the user guide: no contact that nobody answers.
    const char* fixedTips[] = {"＆红颜色代表该项目将加入底工资！", "＆计算结果仅供参考！",
                               "＆准确率在于输入数据的准确程度！",
                               "＆界面基本上不会做美化，本人美化技术 差！差！差！！！...........",
                               "＆遇到问题或希望增加内容，请点击右下角的按钮阅读使用说明。"};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(gbk::toUtf8(tips[i].text), fixedTips[i]);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(tips[i].place, QPoint(10, 20 + 20 * int(i)));

    const int pieceCounts[] = {34, 27, 19, 29, 30, 30, 18, 22, 15, 15, 8};
    const QPoint places[] = {{0, 150}, {0, 190}, {0, 230}, {0, 270}, {0, 310}, {0, 350},
                             {0, 390}, {0, 430}, {0, 540}, {0, 580}, {60, 500}};
    const std::span<const PlacedText> sayings = sayingsPanelSayings();
    ASSERT_EQ(sayings.size(), 11u);
    for (std::size_t i = 0; i < sayings.size(); ++i) {
        SCOPED_TRACE(gbk::toUtf8(sayings[i].text));
        const std::vector<std::string_view> pieces = sayingPieces(sayings[i].text);
        EXPECT_EQ(pieces.size(), static_cast<std::size_t>(pieceCounts[i]));
        EXPECT_EQ(sayings[i].place, places[i]);
        for (std::size_t p = 0; p < pieces.size(); ++p) {
            const bool lastOfSecond = i == 1 && p + 1 == pieces.size();
            // One character: a double-byte one (full-width punctuation included).
            EXPECT_EQ(pieces[p].size(), lastOfSecond ? 0u : 2u) << p;
        }
    }
}

TEST(SayingsPanel, SplittingAtSpaces) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(sayingPieces("a b "), (V{"a", "b"}));
    EXPECT_EQ(sayingPieces("a b  "), (V{"a", "b", ""}));
    EXPECT_EQ(sayingPieces("a b"), (V{"a", "b"}));
    EXPECT_EQ(sayingPieces(""), V{});
}

// One wait of the script: how long, when (the sum of the waits before it)
// and where the panel's write position stood.
struct Wait {
    int ms;
    int at;
    QPoint position;
};

TEST(SayingsPanel, WritesEachTextAtItsPlaceAfterItsWaits) {
    DrawingPanel panel(plainBackground, nullptr);
    panel.resize(916, 691);
    std::vector<Wait> waits;
    int elapsed = 0;
    ASSERT_TRUE(writeSayings(panel, [&](int ms) {
        waits.push_back({ms, elapsed, panel.writePosition()});
        elapsed += ms;
        return true;
    }));

    std::vector<int> expected = {500, 1000, 1000, 1000, 1000, 3000};
    const int pieceCounts[] = {34, 27, 19, 29, 30, 30, 18, 22, 15, 15, 8};
    for (int i = 0; i < 11; ++i) {
        expected.insert(expected.end(), static_cast<std::size_t>(pieceCounts[i]), 90);
        if (i < 10) expected.push_back(3000);
    }
    std::vector<int> got;
    for (const Wait& w : waits) got.push_back(w.ms);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(elapsed, 59730);

    // Tip 1 waits at its place; saying 1's first character follows 7.59 s in.
    EXPECT_EQ(waits[0].position, QPoint(10, 20));
    const int space = QFontMetrics(panel.font()).horizontalAdvance(QStringLiteral(" "));
    EXPECT_EQ(waits[6].at + waits[6].ms, 7590);
    std::size_t first = 6;  // the first wait of each saying
    for (int i = 0; i < 11; ++i) {
        const QPoint place = sayingsPanelSayings()[static_cast<std::size_t>(i)].place;
        EXPECT_EQ(waits[first].position, place + QPoint(space, 0)) << "saying " << i + 1;
        first += static_cast<std::size_t>(pieceCounts[i]) + 1;
    }
}

TEST(SayingsPanel, AFailedWaitStopsTheWritingAtOnce) {
    // The wait before tip 1, after tips 1 and 5, before saying 1's first
    // character, within it, and after it.
    for (int failing : {1, 2, 6, 7, 40, 41}) {
        SCOPED_TRACE(failing);
        DrawingPanel panel(plainBackground, nullptr);
        panel.resize(916, 691);
        int waits = 0;
        QImage atStop;
        EXPECT_FALSE(writeSayings(panel, [&](int) {
            if (++waits < failing) return true;
            atStop = panel.canvas().copy();
            return false;
        }));
        EXPECT_EQ(waits, failing);
        EXPECT_EQ(panel.canvas(), atStop);
    }
}

TEST(DelayWithEvents, WaitsByTheTickCountAndKeepsHandlingEvents) {
    FixedClock clock;
    EXPECT_TRUE(delayWithEvents(clock, 0, [] { return false; }));
    EXPECT_TRUE(delayWithEvents(clock, -5, [] { return false; }));
    EXPECT_EQ(clock.tickCount(), 0u);

    int handled = 0;
    QTimer::singleShot(0, [&] { ++handled; });
    EXPECT_TRUE(delayWithEvents(clock, 95, [] { return false; }));
    EXPECT_EQ(clock.tickCount(), 95u) << "the last sleep is only what remains";
    EXPECT_EQ(handled, 1);

    bool closing = false;
    QTimer::singleShot(0, [&] { closing = true; });
    EXPECT_FALSE(delayWithEvents(clock, 3000, [&] { return closing; }));
    EXPECT_EQ(clock.tickCount(), 95u) << "stops as soon as the window closes";
}

}  // namespace
}  // namespace qinghe::ui
