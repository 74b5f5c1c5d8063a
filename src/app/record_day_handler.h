// "加班记录": records the date picker's day into the journal, as the
// drop-down list, the first checked kind radio button and "夜班" say
// (journal/record_day.h). A day already recorded gets the box
// "今天已经记录过了。"; a day that could not be recorded gets the record
// store's reason. Nothing else is refreshed.
#pragma once

namespace qinghe::app {

struct AppContext;

void recordDay(AppContext& app);

}  // namespace qinghe::app
