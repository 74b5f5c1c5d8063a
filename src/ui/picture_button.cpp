#include "ui/picture_button.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace qinghe::ui {

PictureButton::PictureButton(QPixmap picture, QWidget* parent)
    : QAbstractButton(parent), picture_(std::move(picture)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int sink = isDown() ? 1 : 0;
    painter.drawPixmap(sink, sink, picture_);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace qinghe::ui
