#include "ui/picture_button.h"

#include <QPainter>

namespace qinghe::ui {

PictureButton::PictureButton(QPixmap picture, QWidget* parent)
    : QAbstractButton(parent), picture_(std::move(picture)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int sink = isDown() ? 1 : 0;
    painter.drawPixmap(sink, sink, picture_);
}

}  // namespace qinghe::ui
