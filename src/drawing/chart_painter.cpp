#include "drawing/chart_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "drawing/picture_look.h"

namespace qinghe::drawing {
namespace {

using pictures::EntryKind;

constexpr double kTitleHeight = 30;
constexpr double kLegendHeight = kLegendLine + 6;
constexpr double kAxisWidth = 56;    // the labels of either axis
constexpr double kLabelHeight = 22;  // the month names
constexpr double kTextLine = 20;     // the figures and the totals, one line each
constexpr int kTicks = 5;            // at most, above 0

// The least round step, 1, 2 or 5 times a power of ten, not below `rough`;
// 1 when `rough` is not above 0.
double roundStep(double rough) {
    if (!(rough > 0)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= rough) return m * power;
    }
    return 10 * power;
}

// The hours' axis: round steps, at most kTicks of them, up to `highest`.
struct Axis {
    explicit Axis(double highest)
        : step(roundStep(highest / kTicks)), top(std::max(1.0, std::ceil(highest / step)) * step) {}
    double step;
    double top;  // a whole number of steps
};

// The pay's axis on the other side: as many round steps as the hours' axis
// has, so that both share the grid lines.
double payAxisTop(double highest, int steps) {
    return roundStep(highest / steps) * steps;
}

struct ChartLayout {
    QRectF title, legend, plot, labels, figures, totals;
};

ChartLayout chartLayout(QSizeF size) {
    ChartLayout l;
    const QRectF all = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    l.title = QRectF(all.left(), all.top(), all.width(), kTitleHeight);
    l.legend = QRectF(all.left() + kAxisWidth, l.title.bottom(), all.width() - 2 * kAxisWidth,
                      kLegendHeight);
    l.totals = QRectF(all.left(), all.bottom() - kTextLine, all.width(), kTextLine);
    l.figures = QRectF(all.left(), l.totals.top() - kTextLine, all.width(), kTextLine);
    l.labels = QRectF(all.left() + kAxisWidth, l.figures.top() - kLabelHeight - 4,
                      all.width() - 2 * kAxisWidth, kLabelHeight);
    l.plot = QRectF(l.labels.left(), l.legend.bottom() + 8, l.labels.width(),
                    std::max(1.0, l.labels.top() - l.legend.bottom() - 8));
    return l;
}

// The month's net pay in yuan on the pay axis, which starts at 0: a month
// paid less than nothing is drawn on the axis (its figure says how much).
double payOnAxis(wages::Fen netPay) {
    return std::max(0.0, static_cast<double>(netPay) / 100);
}

std::vector<LegendItem> legendItems(bool hasPay) {
    std::vector<LegendItem> items;
    for (const pictures::EntryKindFacts& k : pictures::hourKinds())
        items.push_back({colourOf(k.kind), qText(pictures::legendName(k.kind))});
    items.push_back({QColor::fromRgb(kLimitInk), QStringLiteral("当月加班上限")});
    if (hasPay) items.push_back({QColor::fromRgb(kPayInk), QStringLiteral("实发工资")});
    return items;
}

QString plain(double value) {
    return QString::number(value, 'g', 12);
}

// One bar of stacked hours, kinds `first` to `first` + 2 of hourKinds().
void paintStack(QPainter& p, const pictures::ChartMonth& m, std::size_t first, const QRectF& bar,
                double scale) {
    const auto kinds = pictures::hourKinds();
    double y = bar.bottom();
    for (std::size_t k = first; k < first + 3; ++k) {
        const double hours = static_cast<double>(std::max<std::int64_t>(0, m.hours[k]));
        if (hours <= 0) continue;
        const double h = hours * scale;
        p.fillRect(QRectF(bar.left(), y - h, bar.width(), h), colourOf(kinds[k].kind));
        y -= h;
    }
}

}  // namespace

QRectF chartMonthColumn(const pictures::YearChart&, QSizeF size, int index) {
    const ChartLayout l = chartLayout(size);
    const double width = l.plot.width() / pictures::kMonthsInYear;
    return {l.plot.left() + index * width, l.plot.top(), width, l.labels.bottom() - l.plot.top()};
}

int chartMonthAt(const pictures::YearChart& chart, QSizeF size, QPointF point) {
    for (int m = 0; m < pictures::kMonthsInYear; ++m) {
        if (chartMonthColumn(chart, size, m).contains(point)) return m;
    }
    return -1;
}

void paintYearChart(QPainter& p, const pictures::YearChart& chart, QSizeF size, int focusedMonth) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRectF(QPointF(0, 0), size), QColor::fromRgb(kPaper));
    const ChartLayout l = chartLayout(size);

    p.setPen(QColor::fromRgb(kInk));
    p.setFont(pictureFont(18, true));
    p.drawText(l.title, Qt::AlignCenter, qText(chart.title));
    const std::vector<LegendItem> items = legendItems(chart.hasPay);
    paintLegend(p, l.legend.adjusted(0, 3, 0, 0), items);

    double highest = 0, highestPay = 0;
    for (const pictures::ChartMonth& m : chart.months) {
        highest = std::max(
            {highest, static_cast<double>(m.overtime()), static_cast<double>(m.leave()), m.limit});
        if (m.netPay) highestPay = std::max(highestPay, payOnAxis(*m.netPay));
    }
    const Axis hours(highest);
    const double scale = l.plot.height() / hours.top;

    // Grid lines and the axes' labels.
    const QFont small = pictureFont(11);
    p.setFont(small);
    const int steps = static_cast<int>(std::lround(hours.top / hours.step));
    const double payTop = payAxisTop(highestPay, steps);
    for (int i = 0; i <= steps; ++i) {
        const double y = std::round(l.plot.bottom() - l.plot.height() * i / steps) + 0.5;
        p.setPen(QPen(QColor::fromRgb(i == 0 ? kFaintInk : kRule), 1));
        p.drawLine(QPointF(l.plot.left(), y), QPointF(l.plot.right(), y));
        p.setPen(QColor::fromRgb(kFaintInk));
        p.drawText(QRectF(0, y - 8, kAxisWidth - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                   plain(hours.step * i));
        if (chart.hasPay) {
            p.setPen(QColor::fromRgb(kPayInk));
            p.drawText(QRectF(l.plot.right() + 6, y - 8, kAxisWidth - 6, 16),
                       Qt::AlignLeft | Qt::AlignVCenter, plain(payTop * i / steps));
        }
    }
    p.setPen(QColor::fromRgb(kFaintInk));
    p.drawText(QRectF(0, l.plot.top() - 20, kAxisWidth - 6, 14), Qt::AlignRight,
               QStringLiteral("小时"));
    if (chart.hasPay) {
        p.setPen(QColor::fromRgb(kPayInk));
        p.drawText(QRectF(l.plot.right() + 6, l.plot.top() - 20, kAxisWidth, 14), Qt::AlignLeft,
                   QStringLiteral("元"));
    }

    // The net pay of each month where known; the line joins neighbouring
    // months only, so a month missing from the pay record leaves a gap.
    std::array<std::optional<QPointF>, pictures::kMonthsInYear> payPoints;
    for (int i = 0; i < pictures::kMonthsInYear; ++i) {
        const pictures::ChartMonth& m = chart.months[static_cast<std::size_t>(i)];
        const QRectF column = chartMonthColumn(chart, size, i);
        if (i == focusedMonth) p.fillRect(column, QColor::fromRgb(kPickedTint));
        const double barWidth = std::floor(column.width() * 0.3);
        const double middle = std::round(column.center().x());
        const QRectF overtimeBar(middle - barWidth - 1, l.plot.top(), barWidth, l.plot.height());
        const QRectF leaveBar(middle + 1, l.plot.top(), barWidth, l.plot.height());
        paintStack(p, m, 0, overtimeBar, scale);
        paintStack(p, m, 3, leaveBar, scale);
        if (m.limit > 0) {
            const double y = std::round(l.plot.bottom() - m.limit * scale) + 0.5;
            p.setPen(QPen(QColor::fromRgb(kLimitInk), 2));
            p.drawLine(QPointF(overtimeBar.left() - 3, y), QPointF(overtimeBar.right() + 3, y));
        }
        p.setPen(QColor::fromRgb(i == focusedMonth ? kInk : kFaintInk));
        p.setFont(pictureFont(12, i == focusedMonth));
        p.drawText(QRectF(column.left(), l.labels.top(), column.width(), l.labels.height()),
                   Qt::AlignCenter, qText(m.label));
        if (m.netPay) {
            payPoints[static_cast<std::size_t>(i)] =
                QPointF(middle, l.plot.bottom() - payOnAxis(*m.netPay) / payTop * l.plot.height());
        }
    }
    if (chart.hasPay) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor::fromRgb(kPayInk), 2));
        p.setBrush(QColor::fromRgb(kPayInk));
        for (std::size_t i = 0; i < payPoints.size(); ++i) {
            if (!payPoints[i]) continue;
            if (i > 0 && payPoints[i - 1]) p.drawLine(*payPoints[i - 1], *payPoints[i]);
            p.drawEllipse(*payPoints[i], 3, 3);
        }
    }

    p.setPen(QColor::fromRgb(kInk));
    p.setFont(pictureFont(12));
    if (focusedMonth >= 0 && focusedMonth < pictures::kMonthsInYear) {
        p.drawText(l.figures.adjusted(kAxisWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   qText(chart.months[static_cast<std::size_t>(focusedMonth)].figures));
    }
    p.drawText(l.totals.adjusted(kAxisWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               qText(chart.totalsText));
    p.restore();
}

}  // namespace qinghe::drawing
