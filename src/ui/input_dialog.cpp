#include "ui/input_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "drawing/fonts.h"
#include "ui/gbk_validator.h"

namespace qinghe::ui {
namespace {

constexpr int kDialogPointSize = 9;
constexpr int kFieldWidthWithPrompt = 320;
constexpr int kFieldWidthAlone = 220;

}  // namespace

InputDialog::InputDialog(const QString& prompt, const QString& title, bool masked)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      field_(new QLineEdit(this)),
      ok_(new QPushButton(QStringLiteral("确认输入(&O)"), this)),
      cancel_(new QPushButton(QStringLiteral("取消(&C)"), this)) {
    setFont(drawing::layoutFontPoints(kDialogPointSize));
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);

    field_->setValidator(new GbkValidator(field_));
    if (masked) field_->setEchoMode(QLineEdit::Password);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    cancel_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    if (!prompt.isEmpty()) {
        auto* label = new QLabel(prompt, this);
        label->setWordWrap(true);
        layout->addWidget(label);
        field_->setMinimumWidth(kFieldWidthWithPrompt);
    } else {
        field_->setMinimumWidth(kFieldWidthAlone);
    }
    layout->addWidget(field_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    field_->setFocus();
}

QString InputDialog::enteredText() const {
    return field_->text();
}

}  // namespace qinghe::ui
