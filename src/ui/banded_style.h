// The application's style (Fusion) drawing each tall primitive and control
// element in bands of rows, pixel for pixel as it draws it whole.
//
// Qt's raster engine hands a fill that covers more than 96 rows at once to
// its global thread pool, split among the pool's threads, and waits for
// them; on a busy machine each hand-off waits for another thread to be
// woken. The window's first paint, with a page frame and a button taller
// than that, made dozens of them. Drawn band by band under a clip of
// kBandRows rows, such an element never reaches that size and its fills stay
// on the painting thread. The clip splits the pixels and never changes them:
// each is drawn once, by the band that holds it. Complex controls (scroll
// bars, spin boxes, ...) are drawn whole: under a clip the raster engine
// draws their antialiased edges differently.
#pragma once

class QStyle;

namespace qinghe::ui {

inline constexpr int kBandRows = 32;

// A new style over `base` (which it takes), for QApplication::setStyle.
QStyle* bandedStyle(QStyle* base);

}  // namespace qinghe::ui
