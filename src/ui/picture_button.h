// A button drawn as a picture; pressed, the picture sinks by one pixel. It
// takes the focus from Tab or a click like any button, and shows it with a
// dotted frame; Space clicks it.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace qinghe::ui {

class PictureButton final : public QAbstractButton {
    Q_OBJECT
  public:
    PictureButton(QPixmap picture, QWidget* parent);
    QSize sizeHint() const override { return picture_.size(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

}  // namespace qinghe::ui
