#include "app/title_clock.h"

#include <cstdio>
#include <string>

#include "app/app_context.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "journal/journal_record.h"
#include "lunar/lunar.h"

namespace qinghe::app {

using namespace literals;

void updateTitleClock(AppContext& app) {
    static const std::string prefix = "青禾   作者：青禾开发组     "_gbk;
    const TimeOfDay now = timeOf(app.clock.now());
    char time[48];
    std::snprintf(time, sizeof time, "%d\xCA\xB1%d\xB7\xD6%d\xC3\xEB", now.hour, now.minute,
                  now.second);  // "%d时%d分%d秒" in GBK
    app.form.setCaptionGbk(prefix + lunar::lunarDateText(app.startupTime) + "-" + time + "    " +
                           journal::weekdayText(app.startupTime));
}

}  // namespace qinghe::app
