#include "ui/window_look.h"

#include <QApplication>
#include <QStyleFactory>

#include "drawing/fonts.h"

namespace qinghe::ui {
namespace {

// Fusion's light palette: the colour of each role when the window is active
// (also when it is inactive) and when a control is disabled, #AARRGGBB.
struct RoleColours {
    QPalette::ColorRole role;
    QRgb normal;
    QRgb disabled;
};

constexpr RoleColours kRoleColours[] = {
    {QPalette::WindowText, 0xFF000000, 0xFFBEBEBE},
    {QPalette::Button, 0xFFEFEFEF, 0xFFEFEFEF},
    {QPalette::Light, 0xFFFFFFFF, 0xFFFFFFFF},
    {QPalette::Midlight, 0xFFCACACA, 0xFFCACACA},
    {QPalette::Dark, 0xFF9F9F9F, 0xFFBEBEBE},
    {QPalette::Mid, 0xFFB8B8B8, 0xFFB8B8B8},
    {QPalette::Text, 0xFF000000, 0xFFBEBEBE},
    {QPalette::BrightText, 0xFFFFFFFF, 0xFFFFFFFF},
    {QPalette::ButtonText, 0xFF000000, 0xFFBEBEBE},
    {QPalette::Base, 0xFFFFFFFF, 0xFFEFEFEF},
    {QPalette::Window, 0xFFEFEFEF, 0xFFEFEFEF},
    {QPalette::Shadow, 0xFF767676, 0xFFB1B1B1},
    {QPalette::Highlight, 0xFF308CC6, 0xFF919191},
    {QPalette::HighlightedText, 0xFFFFFFFF, 0xFFFFFFFF},
    {QPalette::Link, 0xFF0000FF, 0xFF0000FF},
    {QPalette::LinkVisited, 0xFFFF00FF, 0xFFFF00FF},
    {QPalette::AlternateBase, 0xFFF7F7F7, 0xFFF7F7F7},
    {QPalette::ToolTipBase, 0xFFFFFFDC, 0xFFFFFFDC},
    {QPalette::ToolTipText, 0xFF000000, 0xFF000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000},
};

}  // namespace

QPalette windowPalette() {
    QPalette palette;
    for (const RoleColours& c : kRoleColours) {
        const QColor normal = QColor::fromRgba(c.normal);
        palette.setColor(QPalette::Active, c.role, normal);
        palette.setColor(QPalette::Inactive, c.role, normal);
        palette.setColor(QPalette::Disabled, c.role, QColor::fromRgba(c.disabled));
    }
    return palette;
}

void setWindowLook() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(windowPalette());
    QApplication::setFont(drawing::withLayoutFace(QApplication::font()));
}

}  // namespace qinghe::ui
