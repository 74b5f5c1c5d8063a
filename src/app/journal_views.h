// The two views of the page "月历": the month calendar and the year chart
// (pictures/), painted by drawing/ at the widget's size and the screen's pixel
// ratio. They show what they are given and say what the person did; the
// handlers (calendar_page_handler.h) read the journal and act.
//
// The calendar: a click on a day, Enter or Space picks it (dayPicked); the
// arrow keys move the picked day by a day or a week, into the next or the
// previous month too (dayPicked with that date); Page Up and Page Down step a
// month (monthStepped). Its accessible name is the picked day's (what its
// cell shows), so that a screen reader says each day the keyboard reaches.
//
// The chart: the pointer over a month, or Left and Right, focus that month,
// whose figures the chart writes under its plot; the pointer also shows them
// as a tool tip. Its accessible name is the focused month's figures, else
// the chart's title and the year's totals.
//
// Both: the context menu's "另存为图片…" asks for the picture to be saved
// (saveRequested).
#pragma once

#include <QWidget>

#include "common/datetime.h"
#include "pictures/month_calendar.h"
#include "pictures/year_chart.h"

class QMenu;

namespace qinghe::app {

// "另存为图片…"
QString savePictureCaption();

class CalendarView final : public QWidget {
    Q_OBJECT
  public:
    explicit CalendarView(QWidget* parent);

    // Shows `calendar` with `picked` (a date of its month, or another: none
    // picked).
    void setCalendar(pictures::MonthCalendar calendar, DateTime picked);
    const pictures::MonthCalendar& calendar() const { return calendar_; }
    // The index of the picked day, -1 for none.
    int pickedDay() const { return picked_; }

  signals:
    void dayPicked(DateTime date);
    void monthStepped(int months);
    void saveRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void nameAfterPickedDay();

    pictures::MonthCalendar calendar_;
    int picked_ = -1;
};

class ChartView final : public QWidget {
    Q_OBJECT
  public:
    explicit ChartView(QWidget* parent);

    void setChart(pictures::YearChart chart);
    const pictures::YearChart& chart() const { return chart_; }
    // The focused month (0 for January), -1 for none.
    int focusedMonth() const { return focused_; }
    void setFocusedMonth(int month);

  signals:
    void saveRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    pictures::YearChart chart_;
    int focused_ = -1;
};

}  // namespace qinghe::app
