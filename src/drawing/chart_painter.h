// The year chart (pictures/year_chart.h) painted with QPainter, for the
// window's page "月历" and for qinghe-cli journal chart alike: the title, a
// legend, an axis of hours on the left (and one of yuan on the right when the
// chart has net pay), for each month a bar of G1, G2 and G3 stacked and
// beside it a bar of 事假, 病假 and 旷工 stacked, the month's overtime limit as
// a dark mark across the overtime bar, net pay as a rose line with a dot a
// month, the month names below; under the plot the figures of the focused
// month, and the year's totals.
//
// Places are logical pixels, as for the calendar (calendar_painter.h).
#pragma once

#include <QPainter>
#include <QRectF>

#include "pictures/year_chart.h"

namespace qinghe::drawing {

// The column of month `index` (0 for January): where its bars stand, for
// the pointer's and the keyboard's focus.
QRectF chartMonthColumn(const pictures::YearChart& chart, QSizeF size, int index);

// The month (0 for January) whose column holds `point`, or -1.
int chartMonthAt(const pictures::YearChart& chart, QSizeF size, QPointF point);

// Paints `chart` into (0, 0, size); `focusedMonth` (0..11, or -1) is tinted
// and its figures written under the plot.
void paintYearChart(QPainter& painter, const pictures::YearChart& chart, QSizeF size,
                    int focusedMonth = -1);

}  // namespace qinghe::drawing
