#include "ui/stacked_caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace qinghe::ui {

StackedCaptionButton::StackedCaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

void StackedCaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QList<uint> characters = text().toUcs4();
    const int lineHeight = fontMetrics().height();
    const int total = lineHeight * static_cast<int>(characters.size());
    QRect line(0, (height() - total) / 2, width(), lineHeight);
    if (isDown())
        line.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    const QPalette::ColorRole role = QPalette::ButtonText;
    for (uint c : characters) {
        const char32_t code = c;
        style()->drawItemText(&painter, line, Qt::AlignCenter, palette(), isEnabled(),
                              QString::fromUcs4(&code, 1), role);
        line.translate(0, lineHeight);
    }
}

}  // namespace qinghe::ui
