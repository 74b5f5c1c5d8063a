#include "ui/progress_bar.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace qinghe::ui {

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(true);
    connect(this, &QProgressBar::valueChanged, this, &ProgressBar::positionChanged);
}

int ProgressBar::positionAt(int x) const {
    const int span = maximum() - minimum();
    if (span <= 0 || width() <= 1) return minimum();
    const double fraction = std::clamp(static_cast<double>(x) / (width() - 1), 0.0, 1.0);
    return minimum() + static_cast<int>(std::lround(fraction * span));
}

void ProgressBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        setValue(positionAt(event->position().toPoint().x()));
        event->accept();
        return;
    }
    QProgressBar::mousePressEvent(event);
}

void ProgressBar::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        setValue(positionAt(event->position().toPoint().x()));
        event->accept();
        return;
    }
    QProgressBar::mouseMoveEvent(event);
}

}  // namespace qinghe::ui
