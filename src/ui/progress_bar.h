// A progress bar that the user can drag: pressing or dragging the mouse over
// it moves its position to the value under the pointer. positionChanged is
// raised only when the position becomes a different value, whether the user
// or the program moved it.
#pragma once

#include <QProgressBar>

namespace qinghe::ui {

class ProgressBar final : public QProgressBar {
    Q_OBJECT
  public:
    explicit ProgressBar(QWidget* parent);

    void setPosition(int position) { setValue(position); }
    int position() const { return value(); }

    // The position under x pixels from the bar's left edge.
    int positionAt(int x) const;

  signals:
    void positionChanged(int position);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace qinghe::ui
