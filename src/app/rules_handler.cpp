#include "app/rules_handler.h"

#include "app/app_context.h"
#include "app/main_form.h"
#include "app/rules_choice.h"
#include "app/settings.h"
#include "app/wage_handler.h"
#include "ui/choice_controls.h"

namespace qinghe::app {

void onRulesChosen(AppContext& app, wages::Rules rules) {
    const bool changed = rules != chosenRules(app);
    showRules(app, rules);
    if (!changed && rules == wages::Rules::Seed) return;
    if (rules == wages::Rules::Current) app.announced.reset();
    if (changed) saveRulesSetting(app, rules);
    calculateWages(app);
}

}  // namespace qinghe::app
