// What a keyboard user and a screen reader need of the main window, set for
// the window when it is made and for each page when its controls are made
// (main_form.h):
//   - Tab goes through the controls in reading order: on "工资计算" the page
//     headers, the pay boxes top to bottom, "导入最后一次输入的数据", the
//     journal group row by row (date, night shift, the six kinds, the hours
//     box, its buttons), "结果输出"; then the controls of the other pages.
//     Ctrl+Tab and Ctrl+Shift+Tab change pages (the page control's own).
//   - Enter (either key) clicks the focused button, as Space does.
//   - Every control has an accessible name: its caption; for a box, the text
//     of the label beside it (without its closing colon), and the label is
//     tied to the box as its buddy, so a screen reader says which box it is;
//     for the few controls without either, a name of our own (kOwnNames).
// The object names are the control table's (main_form.cpp names them).
#pragma once

namespace qinghe::app {

class MainForm;

// The window's own part: Enter on buttons, and when an assistive technology
// is or becomes active, every page made so that it can reach every control.
void makeAccessible(MainForm& form);
// The part of page `page` (kPage...), once its controls are made: the tab
// order of every control made so far, the labels tied to their boxes, the
// names.
void makePageAccessible(MainForm& form, int page);

}  // namespace qinghe::app
