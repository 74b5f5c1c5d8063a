#include "ui/gbk_validator.h"

#include <QToolTip>
#include <QWidget>

#include "common/gbk.h"

namespace qinghe::ui {

QString refusedCharacterMessage(const QString& character) {
    return QStringLiteral("无法输入“%1”：该字符没有 GBK 编码，本程序不能保存它。").arg(character);
}

QValidator::State GbkValidator::validate(QString& input, int&) const {
    gbk::Conversion c = gbk::fromUtf8(input.toStdString());
    if (c.ok) return Acceptable;
    const QString message = refusedCharacterMessage(QString::fromStdString(c.bad));
    if (auto* field = qobject_cast<QWidget*>(parent())) {
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), message, field);
    }
    emit refused(message);
    return Invalid;
}

}  // namespace qinghe::ui
