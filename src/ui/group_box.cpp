#include "ui/group_box.h"

#include <QPainter>

namespace qinghe::ui {
namespace {

constexpr int kTitleIndent = 8;  // pixels from the frame's left edge to the title
constexpr int kTitleGap = 3;     // blank pixels either side of the title

}  // namespace

GroupBox::GroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void GroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int frameTop = metrics.height() / 2;
    const QRect frame = rect().adjusted(0, frameTop, -1, -1);
    const QColor dark = palette().color(QPalette::Mid);
    const QColor light = palette().color(QPalette::Light);
    painter.setPen(light);
    painter.drawRect(frame.translated(1, 1).adjusted(0, 0, -1, -1));
    painter.setPen(dark);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    const int titleWidth = metrics.horizontalAdvance(title());
    const QRect titleRect(kTitleIndent, 0, titleWidth + 2 * kTitleGap, metrics.height());
    painter.fillRect(titleRect, palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(titleRect, Qt::AlignCenter, title());
}

}  // namespace qinghe::ui
