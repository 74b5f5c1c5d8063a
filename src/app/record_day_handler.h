// "加班记录": records the date picker's day into the journal, as the
// drop-down list, the first checked kind radio button and "夜班" say
// (journal/record_day.h). A recorded day is said on the status line
// 标签状态, not in a box: "已记录 10月8日 加班G1 2小时" (the kind's caption
// and the hours), or "已记录 10月8日 早班" (a day-kind record's remark). A
// day already recorded gets the box "今天已经记录过了。"; a day that could
// not be recorded gets the record store's reason. Nothing else is refreshed.
#pragma once

namespace qinghe::app {

struct AppContext;

void recordDay(AppContext& app);

}  // namespace qinghe::app
