#include "app/journal_views.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "drawing/calendar_painter.h"
#include "drawing/chart_painter.h"
#include "drawing/picture_look.h"

namespace qinghe::app {
namespace {

// The context menu of either view: "另存为图片…", which asks for the picture
// to be saved.
template <class View>
void showContextMenu(View& view, const QPoint& at) {
    QMenu menu(&view);
    QObject::connect(menu.addAction(savePictureCaption()), &QAction::triggered, &view,
                     [&view] { emit view.saveRequested(); });
    menu.exec(at);
}

void announceName(QWidget& view, const QString& name) {
    if (view.accessibleName() == name) return;
    view.setAccessibleName(name);
    QAccessibleEvent event(&view, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

QString savePictureCaption() {
    return QStringLiteral("另存为图片…");
}

CalendarView::CalendarView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("月历"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CalendarView::setCalendar(pictures::MonthCalendar calendar, DateTime picked) {
    calendar_ = std::move(calendar);
    const pictures::CalendarDay* day = pictures::calendarDayOf(calendar_, picked);
    picked_ = day ? day->day - 1 : -1;
    nameAfterPickedDay();
    update();
}

void CalendarView::nameAfterPickedDay() {
    announceName(*this, picked_ >= 0
                            ? drawing::qText(
                                  calendar_.days[static_cast<std::size_t>(picked_)].accessibleName)
                            : drawing::qText(calendar_.title));
}

void CalendarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawing::paintMonthCalendar(painter, calendar_, size(), {picked_, hasFocus()});
}

void CalendarView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    const int day = drawing::calendarDayAt(calendar_, size(), event->position());
    if (day >= 0) emit dayPicked(calendar_.days[static_cast<std::size_t>(day)].date);
}

void CalendarView::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
            step = -pictures::kWeekColumns;
            break;
        case Qt::Key_Down:
            step = pictures::kWeekColumns;
            break;
        case Qt::Key_PageUp:
            emit monthStepped(-1);
            return;
        case Qt::Key_PageDown:
            emit monthStepped(1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (picked_ >= 0)
                emit dayPicked(calendar_.days[static_cast<std::size_t>(picked_)].date);
            return;
        default:
            return QWidget::keyPressEvent(event);
    }
    // A calendar shows the picked date's month, so a day is picked once it
    // has been filled.
    if (picked_ >= 0) emit dayPicked(calendar_.days[static_cast<std::size_t>(picked_)].date + step);
}

void CalendarView::contextMenuEvent(QContextMenuEvent* event) {
    showContextMenu(*this, event->globalPos());
}

void CalendarView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CalendarView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("全年加班与请假"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::setChart(pictures::YearChart chart) {
    chart_ = std::move(chart);
    setFocusedMonth(focused_);
    update();
}

void ChartView::setFocusedMonth(int month) {
    focused_ = month >= 0 && month < pictures::kMonthsInYear ? month : -1;
    announceName(*this,
                 focused_ >= 0
                     ? drawing::qText(chart_.months[static_cast<std::size_t>(focused_)].figures)
                     : drawing::qText(chart_.title + " " + chart_.totalsText));
    update();
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawing::paintYearChart(painter, chart_, size(), focused_);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    const int month = drawing::chartMonthAt(chart_, size(), event->position());
    if (month != focused_) setFocusedMonth(month);
    if (month >= 0) {
        QToolTip::showText(event->globalPosition().toPoint(),
                           drawing::qText(chart_.months[static_cast<std::size_t>(month)].figures),
                           this);
    } else {
        QToolTip::hideText();
    }
}

void ChartView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!hasFocus()) setFocusedMonth(-1);
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    const int last = pictures::kMonthsInYear - 1;
    switch (event->key()) {
        case Qt::Key_Left:
            return setFocusedMonth(focused_ < 0 ? last : std::max(0, focused_ - 1));
        case Qt::Key_Right:
            return setFocusedMonth(focused_ < 0 ? 0 : std::min(last, focused_ + 1));
        case Qt::Key_Home:
            return setFocusedMonth(0);
        case Qt::Key_End:
            return setFocusedMonth(last);
        default:
            return QWidget::keyPressEvent(event);
    }
}

void ChartView::contextMenuEvent(QContextMenuEvent* event) {
    showContextMenu(*this, event->globalPos());
}

}  // namespace qinghe::app
