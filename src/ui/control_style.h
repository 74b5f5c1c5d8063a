// The look that the window's layout asks for and the platform style does not
// give: silver grid lines, and captions close to their radio-button and
// check-box indicators (the layout's places for them are narrow). Set on the
// controls that need it with QWidget::setStyle; a palette and a style are
// much cheaper to set up than a style sheet, which matters at start-up.
#pragma once

class QStyle;

namespace qinghe::ui {

inline constexpr unsigned kGridLineColour = 0xFFC0C0C0;  // silver, #AARRGGBB
inline constexpr int kIndicatorSpacing = 1;              // pixels

// One shared instance over the application's style, owned by the
// application object (so it lives as long as any widget).
QStyle* controlStyle();

}  // namespace qinghe::ui
