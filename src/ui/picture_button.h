// A button drawn as a picture; pressed, the picture sinks by one pixel. The
// picture is painted for the device pixel ratio of the screen the button is
// on, again when that changes. It takes the focus from Tab or a click like
// any button and shows it with a dotted frame; Space or Enter clicks it.
#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <functional>

namespace qinghe::ui {

class PictureButton final : public QAbstractButton {
    Q_OBJECT
  public:
    PictureButton(std::function<QPixmap(qreal devicePixelRatio)> paint, QWidget* parent);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The picture for the button's ratio now.
    const QPixmap& picture() const;

    std::function<QPixmap(qreal)> paint_;
    mutable QPixmap picture_;
};

}  // namespace qinghe::ui
