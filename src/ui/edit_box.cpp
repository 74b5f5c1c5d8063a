#include "ui/edit_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/gbk_validator.h"
#include "ui/text.h"

namespace qinghe::ui {

EditBox::EditBox(EditStyle style, QWidget* parent) : QLineEdit(parent), style_(style) {
    setValidator(new GbkValidator(this));
    if (style == EditStyle::payBox) {
        setAlignment(Qt::AlignCenter);
        setMaxLength(kPayBoxMaxLength);
        setAttribute(Qt::WA_InputMethodEnabled, false);
    } else {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    setTextColor(Qt::black);
}

void EditBox::setTextColor(const QColor& colour) {
    // The border is drawn by a style sheet, so the colours go there too: a
    // style sheet takes precedence over the palette.
    const QString border = style_ == EditStyle::payBox ? QStringLiteral("1px solid #7A7A7A")
                                                       : QStringLiteral("2px inset #A0A0A0");
    setStyleSheet(QStringLiteral("QLineEdit { border: %1; padding: 0px; background: #FFFFFF;"
                                 " color: %2; }")
                      .arg(border, colour.name()));
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colour);
    setPalette(colours);
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
