#include "ui/transparent_label.h"

#include "ui/text.h"

namespace qinghe::ui {

TransparentLabel::TransparentLabel(QWidget* parent, const QColor& colour) : QLabel(parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextColor(colour);
}

std::string TransparentLabel::captionGbk() const {
    return toGbk(text());
}

void TransparentLabel::setCaptionGbk(std::string_view gbk) {
    setCaption(toQString(gbk));
}

void TransparentLabel::setCaption(const QString& caption) {
    setText(caption);
    const int needed = fontMetrics().horizontalAdvance(caption) + 2 * margin();
    if (needed > width()) resize(needed, height());
}

void TransparentLabel::setTextColor(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
}

}  // namespace qinghe::ui
