#include "ui/banded_style.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

namespace qinghe::ui {
namespace {

class BandedStyle final : public QProxyStyle {
  public:
    explicit BandedStyle(QStyle* base) : QProxyStyle(base) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        inBands(option, painter,
                [&] { QProxyStyle::drawPrimitive(element, option, painter, widget); });
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        inBands(option, painter,
                [&] { QProxyStyle::drawControl(element, option, painter, widget); });
    }

  private:
    // Draws once for each band of rows of the option's rectangle when that
    // is taller than a band, else once; what an element draws of another
    // from inside a band is drawn whole within that band.
    template <class Draw>
    void inBands(const QStyleOption* option, QPainter* painter, Draw draw) const {
        if (banding_ || !option || !painter || option->rect.height() <= kBandRows ||
            painter->transform().isRotating()) {
            draw();
            return;
        }
        banding_ = true;
        // The drawing may stray a little outside its rectangle (shadows,
        // focus frames): the first band reaches up and the last down as far
        // as anything can be drawn, and every band across.
        constexpr int kFar = 1 << 20;
        const QRect whole = option->rect;
        for (int y = whole.top(); y <= whole.bottom(); y += kBandRows) {
            const int from = y == whole.top() ? -kFar : y;
            const int to = y + kBandRows > whole.bottom() ? kFar : y + kBandRows - 1;
            painter->save();
            painter->setClipRect(QRect(QPoint(-kFar, from), QPoint(kFar, to)), Qt::IntersectClip);
            draw();
            painter->restore();
        }
        banding_ = false;
    }

    mutable bool banding_ = false;
};

}  // namespace

QStyle* bandedStyle(QStyle* base) {
    return new BandedStyle(base);
}

}  // namespace qinghe::ui
