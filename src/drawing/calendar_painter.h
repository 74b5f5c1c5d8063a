// The month calendar (pictures/month_calendar.h) painted with QPainter, for
// the window's page "月历" and for picture files alike: the month's title,
// the weekday names, a cell per day, the month's totals and a legend of the
// colours, laid out in a rectangle of the caller's size.
//
// All places are logical pixels: a painter on a device of another pixel
// ratio (a screen at scale 2, an image made for it) draws the same picture
// with finer detail. Colours are those of pictures/entry_kinds.h on light
// backgrounds, readable under the window's light palette whatever the
// desktop's theme.
//
// A cell shows the day's number, its small text, its entries one a line in
// their kinds' colours ("未记录" for a forgotten working day), a badge for a
// statutory day or an announced day off ("休") and a make-up working day
// ("班"), "夜" for a night shift and "×2" for two records. Today has a blue
// outline; the picked day a tinted background, and a dotted frame when the
// calendar has the keyboard's focus.
#pragma once

#include <QPainter>
#include <QRectF>

#include "pictures/month_calendar.h"

namespace qinghe::drawing {

// Where the picture puts the calendar's parts in a rectangle of `size`.
struct CalendarLayout {
    QRectF title, weekdays, grid, totals, legend;
    double cellWidth = 0, cellHeight = 0;
    // The cell of day `index` (0 for the 1st) of `calendar`.
    QRectF cell(const pictures::MonthCalendar& calendar, std::size_t index) const;
};
CalendarLayout calendarLayout(const pictures::MonthCalendar& calendar, QSizeF size);

// The day (0 for the 1st) whose cell holds `point`, or -1.
int calendarDayAt(const pictures::MonthCalendar& calendar, QSizeF size, QPointF point);

struct CalendarMarks {
    int pickedDay = -1;    // index of the picked day, -1 for none
    bool focused = false;  // the calendar has the keyboard's focus
};

// Paints `calendar` into the rectangle (0, 0, size) of `painter`.
void paintMonthCalendar(QPainter& painter, const pictures::MonthCalendar& calendar, QSizeF size,
                        const CalendarMarks& marks = {});

}  // namespace qinghe::drawing
