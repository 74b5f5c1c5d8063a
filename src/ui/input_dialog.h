// The input box's dialog: an optional prompt above one single-line entry
// field, the buttons "确认输入(&O)" (default, also Enter) and "取消(&C)", in
// the song typeface at 9 points. Without a prompt it is the smaller dialog.
// The entry field starts empty and, when masked, shows a placeholder for
// every character. It refuses characters without a GBK form.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qinghe::ui {

class InputDialog final : public QDialog {
    Q_OBJECT
  public:
    InputDialog(const QString& prompt, const QString& title, bool masked);

    QString enteredText() const;
    QLineEdit* field() const { return field_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    QLineEdit* field_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace qinghe::ui
