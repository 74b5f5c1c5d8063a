// What the window program sets for the whole process before it builds a
// window: its name, 青禾, which the desktop shows for a window whose title is
// still empty, the window's own look whatever the desktop's theme
// (window_look.h), and Chinese for the toolkit's own texts (the context
// menus of text fields; the message boxes name their buttons themselves).
#pragma once

class QApplication;

namespace qinghe::ui {

// The program's name as the desktop shows it.
inline constexpr char kProgramName[] = "青禾";

// Sets the name and the look and loads Qt's simplified-Chinese translations. Returns false
// when the translation files are not installed; the toolkit's texts then
// stay English.
bool setUpApplication(QApplication& app);

}  // namespace qinghe::ui
