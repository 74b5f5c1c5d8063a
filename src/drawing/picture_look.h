// What the journal's pictures share: their fonts, the colours of the kinds
// and of the marks, GBK text as Qt's, and the legend row.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>
#include <span>
#include <string_view>

#include "pictures/entry_kinds.h"

namespace qinghe::drawing {

inline constexpr QRgb kInk = 0xFF222222;              // ordinary text
inline constexpr QRgb kFaintInk = 0xFF6B6B6B;         // small text, axes
inline constexpr QRgb kRule = 0xFFC0C0C0;             // cell borders, grid lines
inline constexpr QRgb kPaper = 0xFFFFFFFF;            // the background
inline constexpr QRgb kTodayOutline = 0xFF0088FF;     // the window's light blue
inline constexpr QRgb kStatutoryTint = 0xFFFDE8E8;    // 法定节假日
inline constexpr QRgb kDayOffTint = 0xFFE8F5E9;       // 放假
inline constexpr QRgb kMakeUpTint = 0xFFE8EEF7;       // 调休上班
inline constexpr QRgb kNotRecordedTint = 0xFFFCE4EC;  // 未记录
inline constexpr QRgb kPickedTint = 0xFFFFF6D5;       // the picked day
inline constexpr QRgb kNightInk = 0xFF283593;         // 夜
inline constexpr QRgb kTwiceInk = 0xFFE65100;         // ×2
inline constexpr QRgb kPayInk = 0xFFFF5080;           // the window's rose of net pay
inline constexpr QRgb kLimitInk = 0xFF222222;         // the month's limit

QColor colourOf(pictures::EntryKind kind);

// GBK to QString.
QString qText(std::string_view gbk);

// The pictures' face with characters `pixelSize` pixels high, bold or not.
QFont pictureFont(int pixelSize, bool bold = false);

// One swatch of a legend: a filled square, or a framed one, and its name.
inline constexpr double kLegendLine = 18;

struct LegendItem {
    QColor colour;
    QString name;
    bool framed = false;  // an outline rather than a filled square
};

// Draws the items left to right from the top left of `row`, in lines of
// kLegendLine pixels, a new line where the next item would pass its right.
void paintLegend(QPainter& painter, const QRectF& row, std::span<const LegendItem> items);

}  // namespace qinghe::drawing
