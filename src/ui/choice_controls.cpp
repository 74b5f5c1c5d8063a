#include "ui/choice_controls.h"

#include <QLineEdit>
#include <QWheelEvent>

#include "ui/control_style.h"
#include "ui/gbk_validator.h"
#include "ui/text.h"

namespace qinghe::ui {

RadioButton::RadioButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    setAutoExclusive(false);
    setStyle(controlStyle());
}

void RadioButton::nextCheckState() {
    setChecked(true);
}

ComboBox::ComboBox(const QStringList& items, QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setFocusPolicy(Qt::StrongFocus);  // the wheel gives no focus
    addItems(items);
    lineEdit()->setValidator(new GbkValidator(lineEdit()));
    connect(this, &QComboBox::editTextChanged, this, &QWidget::setToolTip);
}

std::string ComboBox::textGbk() const {
    return toGbk(currentText());
}

void ComboBox::setTextGbk(std::string_view gbk) {
    setEditText(toQString(gbk));
}

void ComboBox::selectIndex(int index) {
    setCurrentIndex(index);
}

void ComboBox::wheelEvent(QWheelEvent* event) {
    if (hasFocus()) {
        QComboBox::wheelEvent(event);
    } else {
        event->ignore();
    }
}

}  // namespace qinghe::ui
