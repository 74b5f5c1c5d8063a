// The wage calculation as the window runs it: reads the 21 pay boxes,
// converts their texts as numbers, calculates and writes the 20 result
// labels; under 现行规则 the current rules' calculation does
// (pay_record_handler.h). It keeps nothing between runs. Run by the "结果输出"
// button, and by the refresh and start-up sequences. While the figures cannot
// be calculated ("无法计算"), the status line 标签状态 says why, naming the box
// and its page: "无法计算：“设置”页的“正常工作天数”为 0", or "…超出数值范围" for
// a number beyond the range of numbers.
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
