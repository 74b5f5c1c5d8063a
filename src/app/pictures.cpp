#include "app/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "drawing/fonts.h"

namespace qinghe::app {
namespace {

constexpr int kHorizon = 470;    // where the far field meets the sky
constexpr int kStalkCount = 46;  // rice stalks along the foreground
constexpr int kButtonPixelSize = 12;

// One hill line across the picture: a sum of two slow waves.
QPainterPath hill(double base, double amplitude, double phase) {
    QPainterPath path;
    path.moveTo(0, kBackgroundHeight);
    for (int x = 0; x <= kBackgroundWidth; x += 8) {
        const double y = base + amplitude * std::sin(x / 140.0 + phase) +
                         amplitude * 0.4 * std::sin(x / 53.0 + 2 * phase);
        path.lineTo(x, y);
    }
    path.lineTo(kBackgroundWidth, kBackgroundHeight);
    path.closeSubpath();
    return path;
}

// A bending stalk with a drooping ear of grain.
void stalk(QPainter& p, double x, double height, double lean) {
    const double baseY = kBackgroundHeight + 4;
    const QPointF tip(x + lean, baseY - height);
    QPainterPath stem;
    stem.moveTo(x, baseY);
    stem.quadTo(x + lean * 0.2, baseY - height * 0.6, tip.x(), tip.y());
    p.setPen(QPen(QColor(86, 140, 60), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(196, 178, 92));
    for (int i = 0; i < 6; ++i) {
        const double t = i / 6.0;
        p.drawEllipse(QPointF(tip.x() + lean * 0.25 * t + 4 * t, tip.y() + 6 + 7 * i), 3.0, 5.0);
    }
}

// A transparent picture of width x height window pixels for the ratio.
QPixmap blankPicture(int width, int height, qreal devicePixelRatio) {
    QPixmap picture(QSize(width, height) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    return picture;
}

}  // namespace

QPixmap paintBackgroundPicture(qreal devicePixelRatio) {
    QPixmap picture = blankPicture(kBackgroundWidth, kBackgroundHeight, devicePixelRatio);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kHorizon);
    sky.setColorAt(0.0, QColor(252, 253, 247));
    sky.setColorAt(0.7, QColor(232, 243, 236));
    sky.setColorAt(1.0, QColor(214, 234, 220));
    p.fillRect(QRect(0, 0, kBackgroundWidth, kBackgroundHeight), sky);

    // A low sun on the right, far from the text.
    QRadialGradient sun(QPointF(780, 150), 90);
    sun.setColorAt(0.0, QColor(255, 236, 190, 220));
    sun.setColorAt(1.0, QColor(255, 236, 190, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(780, 150), 90, 90);

    const struct {
        double base, amplitude, phase;
        QColor colour;
    } hills[] = {
        {kHorizon - 20, 14, 0.3, QColor(190, 220, 190)},
        {kHorizon + 40, 18, 1.7, QColor(150, 200, 130)},
        {kHorizon + 110, 12, 2.9, QColor(112, 176, 96)},
    };
    for (const auto& h : hills) {
        p.setBrush(h.colour);
        p.drawPath(hill(h.base, h.amplitude, h.phase));
    }

    // Furrows of the near field.
    p.setPen(QPen(QColor(96, 158, 82, 120), 1.5));
    for (int i = 0; i < 8; ++i) {
        const double y = kHorizon + 140 + i * 10;
        p.drawLine(QPointF(0, y), QPointF(kBackgroundWidth, y - 12));
    }

    for (int i = 0; i < kStalkCount; ++i) {
        const double x = 8 + i * (kBackgroundWidth - 16) / (kStalkCount - 1.0);
        const double height = 70 + 30 * std::fabs(std::sin(i * 1.3));
        const double lean = 10 + 8 * std::sin(i * 0.7);
        stalk(p, x, height, lean);
    }
    return picture;
}

QPixmap paintContactButtonPicture(qreal devicePixelRatio) {
    QPixmap picture = blankPicture(kContactButtonWidth, kContactButtonHeight, devicePixelRatio);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, kContactButtonHeight);
    face.setColorAt(0.0, QColor(120, 190, 110));
    face.setColorAt(1.0, QColor(62, 136, 66));
    p.setPen(QPen(QColor(44, 104, 50), 1.0));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, kContactButtonWidth - 1, kContactButtonHeight - 1), 5, 5);
    p.setPen(Qt::white);
    p.setFont(drawing::layoutFont(kButtonPixelSize));
    p.drawText(QRect(0, 0, kContactButtonWidth, kContactButtonHeight), Qt::AlignCenter,
               QString::fromUtf8(kContactButtonCaption));
    return picture;
}

}  // namespace qinghe::app
