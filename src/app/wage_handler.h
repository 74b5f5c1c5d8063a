// The wage calculation as the window runs it: reads the 21 input boxes,
// converts their texts as numbers, calculates and writes the 20 result
// labels. It keeps nothing between runs. Run by the "结果输出" button, and by
// the refresh and start-up sequences.
#pragma once

namespace qinghe::app {

struct AppContext;

void calculateWages(AppContext& app);

}  // namespace qinghe::app
