#include "app/journal_totals_handler.h"

#include <string>

#include "app/app_context.h"
#include "app/journal_support.h"
#include "app/main_form.h"
#include "app/wage_handler.h"
#include "common/gbk.h"
#include "journal/month_totals.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/transparent_label.h"

namespace qinghe::app {

using namespace literals;

void totalJournalMonth(AppContext& app) {
    MainForm& form = app.form;
    const DateTime picked = form.日期框1->value();
    app.pickedMonthText = journal::pickedMonthText(picked);
    journal::MonthTotals totals;
    journal::StoreError error;
    if (!journal::totalMonth(journalAccess(app), picked, totals, error)) {
        showJournalFailure(app, "读取数据库"_gbk, error);
        return;
    }
    const journal::MonthTotalsText text = journal::monthTotalsText(totals);
    form.标签当前统计到的加班日期->setCaptionGbk(text.lastDate);
    for (const auto& b : journal::totalsBoxes<ui::EditBox*>()) {
        (form.*b.box)->setTextGbk(text.*b.text);
    }
}

void refreshJournalMonth(AppContext& app) {
    totalJournalMonth(app);
    calculateWages(app);
}

}  // namespace qinghe::app
