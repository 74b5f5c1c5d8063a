// The choice of rules (wages/rules.h) in the window: the program's context
// holds it (AppContext::rules), the two buttons "原版规则" and "现行规则" on
// the page "设置" show it once that page is made, the label 标签计算规则
// ("计算规则：原版规则") shows on the page "工资计算" which rules the figures
// follow, and the settings file keeps it (settings.h). The handlers read it
// here; rules_handler.h changes it.
#pragma once

#include <span>
#include <string>
#include <utility>

#include "wages/date_change.h"
#include "wages/holidays.h"
#include "wages/rules.h"

namespace qinghe::ui {
class RadioButton;
}  // namespace qinghe::ui

namespace qinghe::app {

struct AppContext;
class MainForm;

// The button of each choice, in the order of wages::allRules().
using RulesButton = std::pair<wages::Rules, ui::RadioButton * MainForm::*>;
std::span<const RulesButton> rulesButtons();

// The rules the figures follow.
wages::Rules chosenRules(const AppContext& app);

// Makes `rules` the choice: checks its button and clears the other (on a
// page 设置 that is made) and writes 标签计算规则; shows the pay record's
// controls of the page "工资计算" under 现行规则 only.
void showRules(AppContext& app, wages::Rules rules);

// The rules of the days under the choice. Under 现行规则
// the announced arrangements are the built-in ones with those of the
// person's own file, read from the data folder the first time they are
// needed after start-up or after a click on "现行规则" (rules_handler.h).
wages::DayRules dayRules(AppContext& app);

// The caption of 标签本月放假安排 (GBK): under 现行规则 the month's line, or,
// when the person's file was ignored, why
// ("放假安排.txt第3行有误（节日名称含有控制字符），整个文件未采用", the reason
// in the words of datafolder/arrangements_file.h); under 原版规则 nothing.
std::string arrangementsCaption(AppContext& app, const wages::DateChangeCaptions& captions);

}  // namespace qinghe::app
