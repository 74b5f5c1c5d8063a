// The program's own pictures, painted when first needed rather than shipped
// as files: the background of the instructions panel and the face of the
// contact button. Each is painted for a device pixel ratio (2 on a screen at
// scale 2): its size in the window's pixels stays the same, its detail is
// the screen's.
#pragma once

#include <QPixmap>

namespace qinghe::app {

inline constexpr int kBackgroundWidth = 916;
inline constexpr int kBackgroundHeight = 691;
inline constexpr int kContactButtonWidth = 77;
inline constexpr int kContactButtonHeight = 22;
inline constexpr char kContactButtonCaption[] = "使用帮助";

// A quiet field of green rice under a pale sky, light at the top left where
// the tips are written, kBackgroundWidth x kBackgroundHeight.
QPixmap paintBackgroundPicture(qreal devicePixelRatio);

// kContactButtonCaption (the button opens the user guide) on a rounded green
// face, kContactButtonWidth x kContactButtonHeight.
QPixmap paintContactButtonPicture(qreal devicePixelRatio);

}  // namespace qinghe::app
