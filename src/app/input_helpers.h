// Helpers that make the pay form quicker to fill in: edit boxes that select
// their whole text when the user enters them, and the kind-of-day radio
// buttons, which also preset the hours in 组合框.
//
// Boxes that select themselves: the fourteen of boxesSelectedOnEntry() when
// the user enters them (EditBox::gotFocus: a click with any button, Tab,
// Shift+Tab), and 编辑框正常工作时间工资 at every release of the left button
// over it (also when the caret is already in it). Typing then replaces the
// figure; leaving without typing keeps it, so walking through the form loses
// nothing. The other pay boxes (旷工时数, 社保代扣, 其它减项, 其它加项) and
// the two boxes of the page "设置" take a click as a place for the caret.
#pragma once

#include <span>

#include "journal/day_kinds.h"

namespace qinghe::ui {
class EditBox;
class RadioButton;
}  // namespace qinghe::ui

namespace qinghe::app {

class MainForm;
struct AppContext;

std::span<ui::EditBox * MainForm::*const> boxesSelectedOnEntry();

// A kind of day and its radio button (journal/day_kinds.h).
using DayKindButton = journal::DayKind<ui::RadioButton*>;

// Checks `chosen` and clears the other five kinds.
void chooseDayKind(MainForm& form, const ui::RadioButton* chosen);

// A click on a kind: the hours it presets into 组合框, and it the only kind
// checked.
void onDayKindClicked(AppContext& app, const DayKindButton& kind);

}  // namespace qinghe::app
