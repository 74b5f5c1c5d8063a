#include "drawing/picture_look.h"

#include <algorithm>

#include "common/gbk.h"
#include "drawing/fonts.h"

namespace qinghe::drawing {

QColor colourOf(pictures::EntryKind kind) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000U | pictures::factsOf(kind).rgb));
}

QString qText(std::string_view gbk) {
    return QString::fromStdString(gbk::toUtf8(gbk));
}

QFont pictureFont(int pixelSize, bool bold) {
    QFont font = layoutFont(pixelSize);
    font.setBold(bold);
    // Outlines rather than the screen's hinting: the same shapes at any scale.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void paintLegend(QPainter& painter, const QRectF& row, std::span<const LegendItem> items) {
    const QFont font = pictureFont(12);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double box = 10, gap = 6, spacing = 16;
    const double lineHeight = kLegendLine;
    double x = row.left(), y = row.top();
    for (const LegendItem& item : items) {
        const double width = metrics.horizontalAdvance(item.name);
        if (x > row.left() && x + box + gap + width > row.right()) {
            x = row.left();
            y += lineHeight;
        }
        const QRectF swatch(x, y + (lineHeight - box) / 2, box, box);
        if (item.framed) {
            painter.setPen(QPen(item.colour, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(swatch.adjusted(1, 1, -1, -1));
        } else {
            painter.setPen(QPen(QColor::fromRgb(kRule), 1));
            painter.setBrush(item.colour);
            painter.drawRect(swatch);
        }
        painter.setPen(QColor::fromRgb(kInk));
        painter.drawText(QRectF(x + box + gap, y, width + 1, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, item.name);
        x += box + gap + width + spacing;
    }
}

}  // namespace qinghe::drawing
