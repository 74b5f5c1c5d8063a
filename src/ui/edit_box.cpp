#include "ui/edit_box.h"

#include <QFocusEvent>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QValidator>

#include "ui/gbk_validator.h"
#include "ui/text.h"

namespace qinghe::ui {
namespace {

constexpr int kPayBoxBorder = 1;  // pixels
const QColor kPayBoxBorderColour(0x7A, 0x7A, 0x7A);

bool payBoxAccepts(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

// True when `after` holds more of some character than `before` and that
// character may not be added to a pay box.
bool addsRefusedCharacter(const QString& before, const QString& after) {
    QHash<QChar, int> balance;
    for (QChar c : after) {
        if (!payBoxAccepts(c)) ++balance[c];
    }
    for (QChar c : before) {
        if (auto it = balance.find(c); it != balance.end()) --*it;
    }
    for (int count : balance) {
        if (count > 0) return true;
    }
    return false;
}

}  // namespace

// The pay box's rules, applied by the line edit to every change it makes for
// the user; a change it calls Invalid is undone. The filter judges a change
// against the text it last let through, which is always the box's text (the
// program's texts are announced by setTextGbk).
class PayBoxFilter final : public QValidator {
  public:
    explicit PayBoxFilter(QObject* parent) : QValidator(parent) {}

    void programSets(const QString& text) { accepted_ = text; }

    State validate(QString& input, int&) const override {
        if (input == accepted_) return Acceptable;
        const bool tooLong = input.size() > kPayBoxMaxLength && input.size() >= accepted_.size();
        if (tooLong || addsRefusedCharacter(accepted_, input)) return Invalid;
        accepted_ = input;
        return Acceptable;
    }

  private:
    mutable QString accepted_;
};

EditBox::EditBox(EditStyle style, QWidget* parent) : QLineEdit(parent), style_(style) {
    if (style == EditStyle::PayBox) {
        payFilter_ = new PayBoxFilter(this);
        setValidator(payFilter_);
        // The single-line border is drawn by paintEvent.
        setFrame(false);
        setTextMargins(kPayBoxBorder, kPayBoxBorder, kPayBoxBorder, kPayBoxBorder);
        setAlignment(Qt::AlignCenter);
        setAttribute(Qt::WA_InputMethodEnabled, false);
    } else {
        setValidator(new GbkValidator(this));
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
}

void EditBox::setTextColor(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colour);
    setPalette(colours);
}

void EditBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (style_ != EditStyle::PayBox) return;
    QPainter painter(this);
    painter.setPen(kPayBoxBorderColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

std::string EditBox::textGbk() const {
    return toGbk(text());
}

void EditBox::setTextGbk(std::string_view gbk) {
    const QString text = toQString(gbk);
    if (payFilter_) payFilter_->programSets(text);
    setText(text);
}

void EditBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    focusByMouse_ = event->reason() == Qt::MouseFocusReason;
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        emit gotFocus();
    }
}

void EditBox::focusOutEvent(QFocusEvent* event) {
    focusByMouse_ = false;
    QLineEdit::focusOutEvent(event);
}

void EditBox::mousePressEvent(QMouseEvent* event) {
    // Focus is given before the press that caused it is delivered; what the
    // press does to the caret comes first, the entry after it.
    const bool entered = std::exchange(focusByMouse_, false);
    QLineEdit::mousePressEvent(event);
    if (entered) emit gotFocus();
}

void EditBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        emit leftButtonReleased(
            at.x(), at.y(),
            event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    }
}

}  // namespace qinghe::ui
