// The program's own pictures, painted when first needed rather than shipped
// as files: the background of the instructions panel and the face of the
// contact button.
#pragma once

#include <QPixmap>

namespace qinghe::app {

inline constexpr int kBackgroundWidth = 916;
inline constexpr int kBackgroundHeight = 691;
inline constexpr int kContactButtonWidth = 77;
inline constexpr int kContactButtonHeight = 22;

// A quiet field of green rice under a pale sky, light at the top left where
// the tips are written, kBackgroundWidth x kBackgroundHeight.
QPixmap paintBackgroundPicture();

// "使用帮助" (the button opens the user guide) on a rounded green face,
// kContactButtonWidth x kContactButtonHeight.
QPixmap paintContactButtonPicture();

}  // namespace qinghe::app
