// A date picker holding one date-time value (see common/datetime.h). The
// user picks the date; the time of day stays as it was set, so a picker that
// starts at the current local date and time keeps that time after a pick.
// Dates run from the year 100 to 9999. The calendar pop-up speaks Chinese
// (month and weekday names) whatever the session's locale. The mouse wheel
// changes the date only while the picker has the focus; over an unfocused
// picker the wheel goes on to what is under it.
#pragma once

#include <QDateTimeEdit>

#include "common/datetime.h"

namespace qinghe::ui {

class DatePicker final : public QDateTimeEdit {
    Q_OBJECT
  public:
    DatePicker(DateTime initial, QWidget* parent);

    DateTime value() const;
    void setValue(DateTime value);

  signals:
    // The user picked another date.
    void userChangedDate();

  protected:
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace qinghe::ui
