// Keeps every character the user enters into a text field storable: the
// program keeps text as GBK, and a character without a GBK form (an emoji, a
// rare ideograph outside GBK) would otherwise be altered when it is saved.
// The validator refuses such an edit as it is typed or pasted, leaves the
// field as it was, and tells the user at the field which character was
// refused. Texts set by the program are not checked (they come from GBK).
#pragma once

#include <QValidator>

namespace qinghe::ui {

class GbkValidator final : public QValidator {
    Q_OBJECT
  public:
    explicit GbkValidator(QObject* parent) : QValidator(parent) {}
    State validate(QString& input, int& pos) const override;

  signals:
    // Emitted with the message shown when an edit was refused.
    void refused(const QString& message) const;
};

// The message that tells the user that `character` cannot be kept.
QString refusedCharacterMessage(const QString& character);

}  // namespace qinghe::ui
