#include "ui/edit_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/gbk_validator.h"
#include "ui/text.h"

namespace qinghe::ui {
namespace {

constexpr int kPayBoxBorder = 1;  // pixels
const QColor kPayBoxBorderColour(0x7A, 0x7A, 0x7A);

}  // namespace

EditBox::EditBox(EditStyle style, QWidget* parent) : QLineEdit(parent), style_(style) {
    setValidator(new GbkValidator(this));
    if (style == EditStyle::payBox) {
        // The single-line border is drawn by paintEvent.
        setFrame(false);
        setTextMargins(kPayBoxBorder, kPayBoxBorder, kPayBoxBorder, kPayBoxBorder);
        setAlignment(Qt::AlignCenter);
        setMaxLength(kPayBoxMaxLength);
        setAttribute(Qt::WA_InputMethodEnabled, false);
    } else {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
}

void EditBox::setTextColor(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colour);
    setPalette(colours);
}

void EditBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (style_ != EditStyle::payBox) return;
    QPainter painter(this);
    painter.setPen(kPayBoxBorderColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

std::string EditBox::textGbk() const {
    return toGbk(text());
}

void EditBox::setTextGbk(std::string_view gbk) {
    setText(toQString(gbk));
}

bool EditBox::payBoxAccepts(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

void EditBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit gotFocus();
}

void EditBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        emit leftButtonReleased(
            at.x(), at.y(),
            event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    }
}

void EditBox::keyPressEvent(QKeyEvent* event) {
    if (style_ == EditStyle::payBox) {
        for (QChar c : event->text()) {
            if (c.isPrint() && !payBoxAccepts(c)) {
                event->accept();  // refused: the box stays as it was
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace qinghe::ui
