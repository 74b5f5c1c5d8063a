#include "app/month_progress.h"

#include <algorithm>

#include "app/app_context.h"
#include "app/main_form.h"
#include "ui/progress_bar.h"

namespace qinghe::app {

void showMonthProgress(AppContext& app) {
    ui::ProgressBar* bar = app.form.进度条1;
    const CivilDate start = dateOf(app.startupTime);
    bar->setMinimum(1);
    bar->setMaximum(daysInMonth(start.year, start.month));
    bar->setPosition(start.day);
}

void snapMonthProgressBack(AppContext& app) {
    ui::ProgressBar* bar = app.form.进度条1;
    bar->setPosition(std::max(bar->minimum(), std::min(dayOf(app.clock.now()), bar->maximum())));
}

}  // namespace qinghe::app
