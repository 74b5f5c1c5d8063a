#include "drawing/calendar_painter.h"

#include <QFontMetricsF>
#include <array>
#include <vector>

#include "drawing/picture_look.h"

namespace qinghe::drawing {
namespace {

using pictures::CalendarDay;
using pictures::EntryKind;
using wages::DayKind;

constexpr double kTitleHeight = 30;
constexpr double kWeekdayHeight = 22;
constexpr double kTotalsHeight = 24;
constexpr double kLegendHeight = 2 * kLegendLine;  // the legend takes two lines
constexpr double kPad = 4;                         // inside a cell
constexpr int kNumberPixels = 15;
constexpr int kSmallPixels = 10;
constexpr int kEntryPixels = 12;

const std::array<QString, pictures::kWeekColumns> kWeekdayNames = {
    QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
    QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("日")};

QColor tintOf(const CalendarDay& day, bool picked) {
    if (picked) return QColor::fromRgb(kPickedTint);
    if (day.notRecorded) return QColor::fromRgb(kNotRecordedTint);
    switch (day.kind.kind) {
        case DayKind::Statutory:
            return QColor::fromRgb(kStatutoryTint);
        case DayKind::DayOff:
            return QColor::fromRgb(kDayOffTint);
        case DayKind::MakeUpWorkday:
            return QColor::fromRgb(kMakeUpTint);
        default:
            return QColor::fromRgb(kPaper);
    }
}

// The badges in the top right corner, right to left.
struct Badge {
    QString text;
    QColor colour;
};
std::vector<Badge> badgesOf(const CalendarDay& day) {
    std::vector<Badge> badges;
    if (day.kind.kind == DayKind::Statutory)
        badges.push_back({QStringLiteral("休"), colourOf(EntryKind::G3)});
    if (day.kind.kind == DayKind::DayOff)
        badges.push_back({QStringLiteral("休"), colourOf(EntryKind::PersonalLeave)});
    if (day.kind.kind == DayKind::MakeUpWorkday)
        badges.push_back({QStringLiteral("班"), colourOf(EntryKind::G1)});
    if (day.nightShift) badges.push_back({QStringLiteral("夜"), QColor::fromRgb(kNightInk)});
    if (day.twoRecords())
        badges.push_back({QStringLiteral("×%1").arg(day.records), QColor::fromRgb(kTwiceInk)});
    return badges;
}

// The fonts of a cell and their measures, made once a picture.
struct CellFonts {
    QFont number = pictureFont(kNumberPixels, true);
    QFont badge = pictureFont(kSmallPixels + 1, true);
    QFont small = pictureFont(kSmallPixels);
    QFont entry = pictureFont(kEntryPixels);
    QFontMetricsF numberMetrics{number}, badgeMetrics{badge}, smallMetrics{small},
        entryMetrics{entry};
};

void paintCell(QPainter& p, const CalendarDay& day, const QRectF& cell, const CalendarMarks& marks,
               int index, const CellFonts& f) {
    const bool picked = marks.pickedDay == index;
    p.setPen(QPen(QColor::fromRgb(kRule), 1));
    p.setBrush(tintOf(day, picked));
    p.drawRect(cell);

    const QRectF inner = cell.adjusted(kPad, 2, -kPad, -2);
    p.setFont(f.number);
    p.setPen(QColor::fromRgb(kInk));
    const QString numberText = QString::number(day.day);
    const double numberWidth = f.numberMetrics.horizontalAdvance(numberText);
    const double headHeight = f.numberMetrics.height();
    p.drawText(QRectF(inner.left(), inner.top(), numberWidth + 1, headHeight),
               Qt::AlignLeft | Qt::AlignVCenter, numberText);

    // Badges from the right, then the small text in the room that is left.
    double right = inner.right();
    p.setFont(f.badge);
    for (const Badge& b : badgesOf(day)) {
        const double w = f.badgeMetrics.horizontalAdvance(b.text) + 4;
        const QRectF box(right - w, inner.top() + 1, w, f.badgeMetrics.height());
        p.fillRect(box, b.colour);
        p.setPen(QColor::fromRgb(kPaper));
        p.drawText(box, Qt::AlignCenter, b.text);
        right = box.left() - 2;
    }
    p.setFont(f.small);
    p.setPen(day.kind.kind == DayKind::Statutory ? colourOf(EntryKind::G3)
                                                 : QColor::fromRgb(kFaintInk));
    const QRectF smallBox(inner.left() + numberWidth + 4, inner.top(),
                          std::max(0.0, right - inner.left() - numberWidth - 4), headHeight);
    p.drawText(smallBox, Qt::AlignLeft | Qt::AlignVCenter,
               f.smallMetrics.elidedText(qText(day.small), Qt::ElideRight, smallBox.width()));

    // The entries, one a line, as many as fit.
    p.setFont(f.entry);
    const double lineHeight = f.entryMetrics.height();
    double y = inner.top() + headHeight + 2;
    const auto line = [&](const QString& text, const QColor& colour) {
        if (y + lineHeight > inner.bottom() + 1) return;
        p.setPen(colour);
        p.drawText(QRectF(inner.left(), y, inner.width(), lineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   f.entryMetrics.elidedText(text, Qt::ElideRight, inner.width()));
        y += lineHeight;
    };
    for (const pictures::CalendarEntry& e : day.entries) line(qText(e.text), colourOf(e.kind));
    if (day.notRecorded)
        line(qText(pictures::legendName(EntryKind::NotRecorded)), colourOf(EntryKind::NotRecorded));

    p.setBrush(Qt::NoBrush);
    if (day.today) {
        p.setPen(QPen(QColor::fromRgb(kTodayOutline), 2));
        p.drawRect(cell.adjusted(1, 1, -1, -1));
    }
    if (picked && marks.focused) {
        p.setPen(QPen(QColor::fromRgb(kInk), 1, Qt::DotLine));
        p.drawRect(cell.adjusted(3, 3, -3, -3));
    }
}

std::vector<LegendItem> legendItems() {
    std::vector<LegendItem> items;
    for (const pictures::EntryKindFacts& k : pictures::entryKinds())
        items.push_back({colourOf(k.kind), qText(pictures::legendName(k.kind))});
    items.push_back({QColor::fromRgb(kStatutoryTint), QStringLiteral("法定节假日")});
    items.push_back({QColor::fromRgb(kDayOffTint), QStringLiteral("放假")});
    items.push_back({QColor::fromRgb(kMakeUpTint), QStringLiteral("调休上班")});
    items.push_back({QColor::fromRgb(kTodayOutline), QStringLiteral("今天"), true});
    return items;
}

}  // namespace

QRectF CalendarLayout::cell(const pictures::MonthCalendar& calendar, std::size_t index) const {
    const CalendarDay& d = calendar.days[index];
    return {grid.left() + d.column * cellWidth, grid.top() + d.week * cellHeight, cellWidth,
            cellHeight};
}

CalendarLayout calendarLayout(const pictures::MonthCalendar& calendar, QSizeF size) {
    CalendarLayout l;
    // Half a pixel in, so that one-pixel lines fall on whole pixels.
    const QRectF all = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    l.title = QRectF(all.left(), all.top(), all.width(), kTitleHeight);
    l.weekdays = QRectF(all.left(), l.title.bottom(), all.width(), kWeekdayHeight);
    l.legend = QRectF(all.left(), all.bottom() - kLegendHeight, all.width(), kLegendHeight);
    l.totals = QRectF(all.left(), l.legend.top() - kTotalsHeight, all.width(), kTotalsHeight);
    l.grid = QRectF(all.left(), l.weekdays.bottom(), all.width(),
                    std::max(0.0, l.totals.top() - l.weekdays.bottom() - 2));
    l.cellWidth = std::floor(l.grid.width() / pictures::kWeekColumns);
    l.cellHeight = std::floor(l.grid.height() / std::max(1, calendar.weeks));
    return l;
}

int calendarDayAt(const pictures::MonthCalendar& calendar, QSizeF size, QPointF point) {
    const CalendarLayout l = calendarLayout(calendar, size);
    for (std::size_t i = 0; i < calendar.days.size(); ++i) {
        if (l.cell(calendar, i).contains(point)) return static_cast<int>(i);
    }
    return -1;
}

void paintMonthCalendar(QPainter& p, const pictures::MonthCalendar& calendar, QSizeF size,
                        const CalendarMarks& marks) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRectF(QPointF(0, 0), size), QColor::fromRgb(kPaper));
    const CalendarLayout l = calendarLayout(calendar, size);

    p.setPen(QColor::fromRgb(kInk));
    p.setFont(pictureFont(18, true));
    p.drawText(l.title, Qt::AlignCenter, qText(calendar.title));

    p.setFont(pictureFont(12, true));
    for (int c = 0; c < pictures::kWeekColumns; ++c) {
        p.setPen(c >= 5 ? colourOf(EntryKind::G3) : QColor::fromRgb(kInk));
        p.drawText(QRectF(l.grid.left() + c * l.cellWidth, l.weekdays.top(), l.cellWidth,
                          l.weekdays.height()),
                   Qt::AlignCenter, kWeekdayNames[static_cast<std::size_t>(c)]);
    }
    const CellFonts fonts;
    for (std::size_t i = 0; i < calendar.days.size(); ++i) {
        paintCell(p, calendar.days[i], l.cell(calendar, i), marks, static_cast<int>(i), fonts);
    }

    p.setPen(QColor::fromRgb(kInk));
    p.setFont(pictureFont(12));
    p.drawText(l.totals.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               qText(calendar.totalsText));
    const std::vector<LegendItem> items = legendItems();
    paintLegend(p, l.legend.adjusted(2, 0, 0, 0), items);
    p.restore();
}

}  // namespace qinghe::drawing
