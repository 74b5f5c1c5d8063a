// The window's own look: Chinese text in the layout's face (SimSun) or else
// its first sans stand-in, WenQuanYi Micro Hei, which install-deps.sh
// installs; never in the serif face that fontconfig offers for SimSun when a
// package such as fonts-arphic-uming is installed (install-deps.sh installs
// it for this test). And a palette of its own that no desktop theme changes.
#include "ui/window_look.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGlyphRun>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRawFont>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTextLayout>
#include <functional>
#include <memory>

#include "drawing/fonts.h"
#include "ui/banded_style.h"

namespace qinghe::ui {
namespace {

// The faces that draw `text` in `font`.
QStringList facesDrawing(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) faces << run.rawFont().familyName();
    return faces;
}

TEST(WindowLook, ChineseTextInTheLayoutsFaceOrASansStandIn) {
    const struct {
        const char* what;
        QFont font;
    } fonts[] = {
        {"the window's 12-pixel font", drawing::layoutFont(12)},
        {"the input box's 9-point font", drawing::layoutFontPoints(9)},
        {"the message boxes' font", QApplication::font()},
    };
    const QStringList expected = {QStringLiteral("SimSun"), QStringLiteral("宋体"),
                                  QStringLiteral("NSimSun"), QStringLiteral("WenQuanYi Micro Hei")};
    const QString text = QStringLiteral("正常工作时间工资(元)：1820");
    for (const auto& f : fonts) {
        for (const QString& face : facesDrawing(text, f.font)) {
            EXPECT_TRUE(expected.contains(face)) << f.what << " draws in " << face.toStdString();
        }
    }
}

TEST(WindowLook, TheApplicationsPaletteIsTheWindowsInEveryRoleAndGroup) {
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(palette, windowPalette());
    // Every role of every group is the program's own: nothing is left for a
    // theme to fill in.
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (role == QPalette::NoRole) continue;
            EXPECT_TRUE(palette.isBrushSet(group, role)) << "group " << group << " role " << r;
        }
    }
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::Window), QColor(0xEF, 0xEF, 0xEF));
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::Base), Qt::white);
}

// The banded style draws every control pixel for pixel as Fusion does, the
// tall and the wide ones too, pressed, focused or not.
TEST(WindowLook, TheBandedStyleDrawsAsFusionDoes) {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const std::unique_ptr<QStyle> banded(
        bandedStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    const struct {
        const char* what;
        QSize size;
        std::function<QWidget*()> make;
    } kControls[] = {
        {"a tall push button",
         {208, 184},
         [] { return new QPushButton(QStringLiteral("结果输出")); }},
        {"a vertical scroll bar", {16, 560}, [] { return new QScrollBar(Qt::Vertical); }},
        {"a horizontal scroll bar", {780, 16}, [] { return new QScrollBar(Qt::Horizontal); }},
        {"a progress bar",
         {912, 16},
         [] {
             auto* bar = new QProgressBar;
             bar->setValue(40);
             return bar;
         }},
        {"a group box", {216, 424}, [] { return new QGroupBox(QStringLiteral("数据库操作")); }},
        {"tabs and their page's frame",
         {893, 300},
         [] {
             auto* tabs = new QTabWidget;
             for (const char* page : {"工资计算", "加班明细", "月历"})
                 tabs->addTab(new QWidget, QString::fromUtf8(page));
             return tabs;
         }},
    };
    for (const auto& control : kControls) {
        QImage drawn[2];
        for (int i = 0; i < 2; ++i) {
            const std::unique_ptr<QWidget> widget(control.make());
            widget->setStyle(i == 0 ? fusion.get() : banded.get());
            for (QWidget* child : widget->findChildren<QWidget*>())
                child->setStyle(i == 0 ? fusion.get() : banded.get());
            widget->resize(control.size);
            drawn[i] = widget->grab().toImage();
        }
        EXPECT_EQ(drawn[0], drawn[1]) << control.what;
    }
}

}  // namespace
}  // namespace qinghe::ui
