#include "ui/qt_prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/input_dialog.h"
#include "ui/text.h"

namespace qinghe::ui {
namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageResult QtPrompts::messageBox(std::string_view text, MessageStyle style,
                                    std::string_view caption) {
    QMessageBox box(toQtIcon(style.icon), toQString(caption), toQString(text));
    box.setWindowModality(Qt::ApplicationModal);
    // The buttons' texts are ours, not the toolkit's translation, which may
    // be missing.
    QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    if (style.buttons == MessageButtons::OkCancel) {
        // Escape and the close button press the escape button.
        box.setEscapeButton(box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole));
    }
    box.setDefaultButton(ok);
    box.exec();
    return style.buttons == MessageButtons::Ok || box.clickedButton() == ok ? MessageResult::Ok
                                                                            : MessageResult::Cancel;
}

bool QtPrompts::inputBox(std::string& text, std::string_view prompt, std::string_view title,
                         bool masked) {
    InputDialog dialog(toQString(prompt), toQString(title), masked);
    if (dialog.exec() != QDialog::Accepted) return false;
    text = toGbk(dialog.enteredText());
    return true;
}

bool QtPrompts::saveFileBox(std::string& path, std::string_view title, std::string_view suggested,
                            std::string_view filters) {
    const QString chosen = QFileDialog::getSaveFileName(
        nullptr, toQString(title),
        QString::fromUtf8(suggested.data(), static_cast<qsizetype>(suggested.size())),
        toQString(filters), nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) return false;
    path = chosen.toStdString();
    return true;
}

}  // namespace qinghe::ui
