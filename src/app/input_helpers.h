// Helpers that make the pay form quicker to fill in: edit boxes that empty
// themselves when the user enters them, and the kind-of-day radio buttons,
// which also preset the hours in 组合框.
//
// Boxes that empty themselves: the fourteen of boxesClearedOnEntry() when the
// user enters them (EditBox::gotFocus), and 编辑框正常工作时间工资 at every
// release of the left button over it (also when the caret is already in it).
// The other pay boxes (旷工时数, 社保代扣, 其它减项, 其它加项) and the two
// boxes of the page "设置" keep their text.
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

std::span<ui::EditBox * MainForm::*const> boxesClearedOnEntry();

// A kind of day and its radio button (journal/day_kinds.h).
using DayKindButton = journal::DayKind<ui::RadioButton*>;

// Checks `chosen` and clears the other five kinds.
void chooseDayKind(MainForm& form, const ui::RadioButton* chosen);

// A click on a kind: the hours it presets into 组合框, and it the only kind
// checked.
void onDayKindClicked(AppContext& app, const DayKindButton& kind);

}  // namespace qinghe::app
