#include "ui/choice_controls.h"

#include <QLineEdit>

#include "ui/gbk_validator.h"
#include "ui/text.h"

namespace qinghe::ui {

RadioButton::RadioButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    setAutoExclusive(false);
    // Narrow places: keep the caption close to its indicator.
    setStyleSheet(QStringLiteral("QRadioButton { spacing: 1px; }"));
}

void RadioButton::nextCheckState() {
    setChecked(true);
}

ComboBox::ComboBox(const QStringList& items, QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(items);
    lineEdit()->setValidator(new GbkValidator(lineEdit()));
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

}  // namespace qinghe::ui
