// The window's own look: Chinese text in the layout's face (SimSun) or else
// its first sans stand-in, WenQuanYi Micro Hei, which install-deps.sh
// installs; never in the serif face that fontconfig offers for SimSun when a
// package such as fonts-arphic-uming is installed (install-deps.sh installs
// it for this test). And a palette of its own that no desktop theme changes.
#include "ui/window_look.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include "drawing/fonts.h"

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

}  // namespace
}  // namespace qinghe::ui
