#include "ui/drawing_panel.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/text.h"

namespace qinghe::ui {

DrawingPanel::DrawingPanel(std::function<QPixmap(qreal)> background, QWidget* parent)
    : QWidget(parent), background_(std::move(background)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DrawingPanel::ensureCanvas() {
    if (!canvas_.isNull()) return;
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull()) picture_ = background_(ratio);
    const QSize logical = size().expandedTo(picture_.deviceIndependentSize().toSize());
    canvas_ = QImage(logical * ratio, QImage::Format_ARGB32_Premultiplied);
    canvas_.setDevicePixelRatio(ratio);
    canvas_.fill(palette().window().color());
    QPainter painter(&canvas_);
    painter.drawPixmap(0, 0, picture_);
}

const QImage& DrawingPanel::canvas() {
    ensureCanvas();
    return canvas_;
}

void DrawingPanel::writeText(std::string_view gbk) {
    const QString text = toQString(gbk);
    ensureCanvas();
    QPainter painter(&canvas_);
    painter.setFont(font());
    painter.setPen(textColour_);
    const QFontMetrics metrics(font());
    const int startX = position_.x();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) position_ = QPoint(startX, position_.y() + metrics.height() + kLineGap);
        const QString& line = lines[i];
        if (line.isEmpty()) continue;
        painter.drawText(QPoint(position_.x(), position_.y() + metrics.ascent()), line);
        const int advance = metrics.horizontalAdvance(line);
        update(QRect(position_.x(), position_.y(), advance, metrics.height()));
        position_.rx() += advance;
    }
}

void DrawingPanel::paintEvent(QPaintEvent* event) {
    ensureCanvas();
    QPainter painter(this);
    const QRectF area = event->rect();
    const qreal ratio = canvas_.devicePixelRatio();
    painter.drawImage(area, canvas_, QRectF(area.topLeft() * ratio, area.size() * ratio));
}

}  // namespace qinghe::ui
