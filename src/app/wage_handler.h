// The wage calculation as the window runs it: reads the 21 pay boxes,
// converts their texts as numbers, calculates and writes the 20 result
// labels; under 现行规则 the current rules' calculation does
// (pay_record_handler.h). It keeps nothing between runs. Run by the "结果输出" button, and by
// the refresh and start-up sequences.
#pragma once

#include <span>

namespace qinghe::ui {
class TransparentLabel;
}

namespace qinghe::app {

struct AppContext;
class MainForm;

void calculateWages(AppContext& app);

// The result labels in the order of wages::wageResultCaptions.
std::span<ui::TransparentLabel * MainForm::*const> wageResultLabels();

}  // namespace qinghe::app
