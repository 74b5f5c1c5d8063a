#include "ui/edit_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/gbk_validator.h"
#include "ui/text.h"

namespace qinghe::ui {

EditBox::EditBox(EditStyle style, QWidget* parent) : QLineEdit(parent), style_(style) {
    setValidator(new GbkValidator(this));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    if (style == EditStyle::payBox) {
        setAlignment(Qt::AlignCenter);
        setMaxLength(kPayBoxMaxLength);
        setAttribute(Qt::WA_InputMethodEnabled, false);
        setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #7A7A7A; padding: 0px; }"));
    } else {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setStyleSheet(QStringLiteral("QLineEdit { border: 2px inset #A0A0A0; padding: 0px; }"));
    }
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
