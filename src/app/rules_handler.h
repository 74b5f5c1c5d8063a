// A click on "原版规则" or "现行规则" on the page "设置" (rules_choice.h):
// choosing the other rules takes effect at once. The choice is shown and
// saved in the settings file, and the date-change routine and the wage
// calculation run again, as "结果输出" runs them. A click on "现行规则" also
// reads the person's arrangements file anew (so that a file edited meanwhile
// counts), even when those rules were chosen already; a click on "原版规则"
// when they were chosen does nothing.
#pragma once

#include "wages/rules.h"

namespace qinghe::app {

struct AppContext;

// A click on the button of `rules`, which the click has checked.
void onRulesChosen(AppContext& app, wages::Rules rules);

}  // namespace qinghe::app
