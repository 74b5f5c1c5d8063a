#include "app/page_handler.h"

#include "app/app_context.h"
#include "app/journal_grid_handler.h"
#include "app/main_form.h"
#include "ui/page_control.h"

namespace qinghe::app {

void pageChanged(AppContext& app) {
    if (app.form.高级选择夹1->currentPage() == kPageJournal) fillJournalGrid(app);
}

}  // namespace qinghe::app
