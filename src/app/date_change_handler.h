// The date-change routine as the window runs it: presets the day-entry
// choices (radio buttons, hours combo box, night-shift check box) for the
// kind of the date in 日期框1 under the rules chosen (rules_handler.h), and
// rewrites the month's four limit labels, the label of hours done, the
// holiday label and the line of the month's arrangements. It keeps nothing
// between runs; the presets overwrite whatever the user had chosen for the
// day.
//
// Bound to the date-changed event of 日期框1; run first by the wage
// calculation of "结果输出", and once at start-up.
#pragma once

namespace qinghe::app {

struct AppContext;

void onDateChanged(AppContext& app);

}  // namespace qinghe::app
