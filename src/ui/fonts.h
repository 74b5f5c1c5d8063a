// Fonts of the window. The layout names SimSun (宋体) for a few controls; on a
// machine without it the next installed Chinese font of the list stands in.
#pragma once

#include <QFont>

namespace qinghe::ui {

// The song typeface (or its stand-in) with characters `pixelSize` pixels high.
QFont songFont(int pixelSize);

// The song typeface in points (the input box's 9-point font).
QFont songFontPoints(int pointSize);

// `base` with characters `pixelSize` pixels high.
QFont withPixelSize(QFont base, int pixelSize);

}  // namespace qinghe::ui
