// Fonts of the window. The layout names SimSun (宋体); where it is not
// installed, as on most Linux desktops, a sans Chinese face stands in:
// WenQuanYi Micro Hei, Noto Sans CJK or Source Han Sans, whichever is
// installed first in that order, and beyond them the desktop's sans-serif
// face. Never a serif face that some other font package happens to bring.
#pragma once

#include <QFont>
#include <QStringList>

namespace qinghe::drawing {

// The faces in the order they are tried, for every character of a text.
QStringList layoutFamilies();

// `base` (its size, weight, ...) in the layout's face or its stand-in.
QFont withLayoutFace(QFont base);

// The layout's face (or its stand-in) with characters `pixelSize` pixels high.
QFont layoutFont(int pixelSize);

// The layout's face in points (the input box's 9-point font).
QFont layoutFontPoints(int pointSize);

// `base` with characters `pixelSize` pixels high.
QFont withPixelSize(QFont base, int pixelSize);

}  // namespace qinghe::drawing
