// A push button on a tall, narrow place whose caption stands one character a
// line, centred. The caption is the plain text (text() gives "表格刷新", as
// screen readers and tests read it); only the drawing stacks it.
#pragma once

#include <QPushButton>

namespace qinghe::ui {

class StackedCaptionButton final : public QPushButton {
    Q_OBJECT
  public:
    StackedCaptionButton(const QString& caption, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qinghe::ui
