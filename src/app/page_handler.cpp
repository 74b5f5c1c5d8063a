#include "app/page_handler.h"

#include <QPointer>

#include "app/app_context.h"
#include "app/calendar_page_handler.h"
#include "app/journal_grid_handler.h"
#include "app/main_form.h"
#include "ui/delay_with_events.h"
#include "ui/page_control.h"
#include "ui/sayings_panel.h"

namespace qinghe::app {

void pageChanged(AppContext& app) {
    const int page = app.form.高级选择夹1->currentPage();
    if (page == kPageJournal) fillJournalGrid(app);
    if (page == kPageCalendar) fillCalendarPage(app);
    if (page != kPageHelp || app.form.isClosing()) return;
    const QPointer<MainForm> form(&app.form);
    ui::writeSayings(*app.form.画板1, [&app, form](int ms) {
        return ui::delayWithEvents(app.clock, ms, [form] {
            const MainForm* alive = form.data();
            return alive == nullptr || alive->isClosing();
        });
    });
}

}  // namespace qinghe::app
