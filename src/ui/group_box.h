// A group box: a titled frame around a group of controls. It draws its own
// plain etched frame instead of the platform style's picture frame, which
// would load the image-format plug-ins while the window first paints.
#pragma once

#include <QGroupBox>

namespace qinghe::ui {

class GroupBox final : public QGroupBox {
    Q_OBJECT
  public:
    GroupBox(const QString& title, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qinghe::ui
