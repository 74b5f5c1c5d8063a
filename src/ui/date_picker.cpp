#include "ui/date_picker.h"

#include <QWheelEvent>

namespace qinghe::ui {
namespace {

QDateTime toQDateTime(DateTime value) {
    const CivilDate d = dateOf(value);
    const TimeOfDay t = timeOf(value);
    return QDateTime(QDate(d.year, d.month, d.day), QTime(t.hour, t.minute, t.second));
}

}  // namespace

DatePicker::DatePicker(DateTime initial, QWidget* parent) : QDateTimeEdit(parent) {
    // The calendar pop-up, built when first opened, takes the picker's locale.
    setLocale(QLocale(QLocale::Chinese, QLocale::China));
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setDateTimeRange(toQDateTime(kMinDateTime), toQDateTime(kMaxDateTime + 0.99998));
    setValue(initial);
    setFocusPolicy(Qt::StrongFocus);  // the wheel gives no focus
    connect(this, &QDateTimeEdit::dateChanged, this, &DatePicker::userChangedDate);
}

DateTime DatePicker::value() const {
    const QDateTime v = dateTime();
    return makeDateTime(v.date().year(), v.date().month(), v.date().day(), v.time().hour(),
                        v.time().minute(), v.time().second());
}

void DatePicker::wheelEvent(QWheelEvent* event) {
    if (hasFocus()) {
        QDateTimeEdit::wheelEvent(event);
    } else {
        event->ignore();
    }
}

void DatePicker::setValue(DateTime value) {
    const QSignalBlocker quiet(this);
    setDateTime(toQDateTime(clampDateTime(value)));
}

}  // namespace qinghe::ui
