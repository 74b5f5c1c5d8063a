#include "app/bindings.h"

#include <QPushButton>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/journal_grid_handler.h"
#include "app/journal_maintenance_handler.h"
#include "app/journal_totals_handler.h"
#include "app/main_form.h"
#include "app/page_handler.h"
#include "app/record_day_handler.h"
#include "app/wage_handler.h"
#include "ui/date_picker.h"
#include "ui/page_control.h"
#include "ui/stacked_caption_button.h"

namespace qinghe::app {

void bindEvents(AppContext& app) {
    MainForm& form = app.form;
    auto onClick = [&](QPushButton* button, void (*handler)(AppContext&)) {
        QObject::connect(button, &QPushButton::clicked, &form, [&app, handler] { handler(app); });
    };
    onClick(form.按钮结果输出, calculateWages);
    QObject::connect(form.日期框1, &ui::DatePicker::userChangedDate, &form,
                     [&app] { onDateChanged(app); });
    onClick(form.按钮加班记录, recordDay);
    onClick(form.按钮刷新, refreshJournalMonth);
    onClick(form.按钮修改数据库密码, changeJournalPassword);
    onClick(form.按钮读取数据库, totalJournalMonth);
    onClick(form.按钮数据库排序, sortJournal);
    onClick(form.按钮删除, deleteLastRecord);
    onClick(form.按钮数据库清空, clearJournal);
    onClick(form.按钮表格刷新, fillJournalGrid);
    QObject::connect(form.高级选择夹1, &ui::PageControl::pageChanged, &form,
                     [&app] { pageChanged(app); });
}

}  // namespace qinghe::app
