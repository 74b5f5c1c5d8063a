#include "ui/picture_button.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace qinghe::ui {

PictureButton::PictureButton(std::function<QPixmap(qreal)> paint, QWidget* parent)
    : QAbstractButton(parent), paint_(std::move(paint)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

const QPixmap& PictureButton::picture() const {
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull() || picture_.devicePixelRatio() != ratio) picture_ = paint_(ratio);
    return picture_;
}

QSize PictureButton::sizeHint() const {
    return picture().deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int sink = isDown() ? 1 : 0;
    painter.drawPixmap(sink, sink, picture());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace qinghe::ui
