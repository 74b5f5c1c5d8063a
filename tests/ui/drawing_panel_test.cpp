#include "ui/drawing_panel.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "common/gbk.h"

namespace qinghe::ui {
namespace {

using namespace literals;

QPixmap plainBackground(qreal devicePixelRatio) {
    QPixmap p(QSize(200, 120) * devicePixelRatio);
    p.setDevicePixelRatio(devicePixelRatio);
    p.fill(Qt::white);
    return p;
}

int inkedPixels(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) ++n;
    return n;
}

TEST(DrawingPanel, WritingAdvancesTheWritePositionByTheTextWidth) {
    DrawingPanel panel(plainBackground, nullptr);
    panel.resize(200, 120);
    const QFontMetrics metrics(panel.font());
    panel.setWritePosition(10, 20);
    panel.writeText("＆计算"_gbk);
    const int width = metrics.horizontalAdvance(QStringLiteral("＆计算"));
    EXPECT_EQ(panel.writePosition(), QPoint(10 + width, 20));
    EXPECT_GT(inkedPixels(panel.canvas(), QRect(10, 20, width, metrics.height())), 0);
    EXPECT_EQ(inkedPixels(panel.canvas(), QRect(0, 60, 200, 60)), 0);
}

TEST(DrawingPanel, ALineBreakGoesDownAndBackToWhereTheWriteBegan) {
    DrawingPanel panel(plainBackground, nullptr);
    const QFontMetrics metrics(panel.font());
    panel.setWritePosition(30, 5);
    panel.writeText("ab");
    const int afterAb = panel.writePosition().x();
    panel.writeText("x\r\ny");
    const int lineStep = metrics.height() + DrawingPanel::kLineGap;
    EXPECT_EQ(panel.writePosition(),
              QPoint(afterAb + metrics.horizontalAdvance(QStringLiteral("y")), 5 + lineStep));
    panel.writeText("\r\n");
    EXPECT_EQ(panel.writePosition(),
              QPoint(afterAb + metrics.horizontalAdvance(QStringLiteral("y")), 5 + 2 * lineStep));
}

TEST(DrawingPanel, TextIsDrawnOverWhatIsThere) {
    DrawingPanel panel(plainBackground, nullptr);
    panel.setWritePosition(0, 0);
    panel.writeText("WWWW");
    const QImage first = panel.canvas();
    panel.setWritePosition(0, 0);
    panel.writeText("....");
    EXPECT_GE(inkedPixels(panel.canvas(), QRect(0, 0, 100, 20)),
              inkedPixels(first, QRect(0, 0, 100, 20)));
}

}  // namespace
}  // namespace qinghe::ui
