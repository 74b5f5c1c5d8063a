// The window's own look, the same on any desktop theme: the Fusion style and
// a light palette of its own, so that the layout's colours (red, rose, blue
// and light-blue captions, white boxes on a light grey window) read exactly as
// designed under a dark theme too, in the main window and in every message
// and input box; and the layout's font (fonts.h) for the toolkit's own texts.
//
// The palette is set on the application with every colour of every group
// given, so that a change of the desktop's theme while the program runs
// leaves it as it is.
#pragma once

#include <QPalette>

namespace qinghe::ui {

QPalette windowPalette();

// Sets the style, the palette and the font on the whole application.
void setWindowLook();

}  // namespace qinghe::ui
