#include "app/bindings.h"

#include <QPushButton>
#include <QTimer>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/input_helpers.h"
#include "app/journal_grid_handler.h"
#include "app/journal_maintenance_handler.h"
#include "app/journal_totals_handler.h"
#include "app/main_form.h"
#include "app/month_progress.h"
#include "app/page_handler.h"
#include "app/pay_record_handler.h"
#include "app/record_day_handler.h"
#include "app/rules_choice.h"
#include "app/rules_handler.h"
#include "app/settings.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app/title_clock.h"
#include "app/user_guide.h"
#include "app/wage_handler.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"
#include "ui/picture_button.h"
#include "ui/progress_bar.h"
#include "ui/stacked_caption_button.h"

namespace qinghe::app {

void bindEvents(AppContext& app) {
    MainForm& form = app.form;
    auto onClick = [&](QAbstractButton* button, void (*handler)(AppContext&)) {
        QObject::connect(button, &QAbstractButton::clicked, &form,
                         [&app, handler] { handler(app); });
    };

    onClick(form.按钮导入, importSettings);
    QObject::connect(form.进度条1, &ui::ProgressBar::positionChanged, &form,
                     [&app] { snapMonthProgressBack(app); });
    ui::EditBox* basePay = form.编辑框正常工作时间工资;
    QObject::connect(basePay, &ui::EditBox::leftButtonReleased, &form,
                     [basePay] { basePay->setTextGbk({}); });
    for (ui::EditBox* MainForm::*member : boxesClearedOnEntry()) {
        ui::EditBox* box = form.*member;
        QObject::connect(box, &ui::EditBox::gotFocus, &form, [box] { box->setTextGbk({}); });
    }
    onClick(form.按钮结果输出, calculateWages);
    onClick(form.按钮记入工资记录, recordPayMonth);
    onClick(form.按钮工资记录, showPayRecord);
    QObject::connect(form.日期框1, &ui::DatePicker::userChangedDate, &form,
                     [&app] { onDateChanged(app); });
    for (const DayKindButton& kind : journal::dayKinds<ui::RadioButton*>()) {
        QObject::connect(form.*kind.button, &QAbstractButton::clicked, &form,
                         [&app, &kind] { onDayKindClicked(app, kind); });
    }
    onClick(form.按钮加班记录, recordDay);
    onClick(form.按钮刷新, refreshJournalMonth);
    onClick(form.按钮修改数据库密码, changeJournalPassword);
    onClick(form.按钮读取数据库, totalJournalMonth);
    onClick(form.按钮数据库排序, sortJournal);
    onClick(form.按钮删除, deleteLastRecord);
    onClick(form.按钮数据库清空, clearJournal);
    onClick(form.按钮表格刷新, fillJournalGrid);
    for (const auto& [rules, button] : rulesButtons()) {
        QObject::connect(form.*button, &QAbstractButton::clicked, &form,
                         [&app, rules] { onRulesChosen(app, rules); });
    }
    onClick(form.图形按钮1, openUserGuide);
    QObject::connect(form.高级选择夹1, &ui::PageControl::pageChanged, &form,
                     [&app] { pageChanged(app); });
    QObject::connect(form.时钟1, &QTimer::timeout, &form, [&app] { updateTitleClock(app); });
    QObject::connect(&form, &MainForm::created, &form, [&app] { onWindowCreated(app); });
    QObject::connect(&form, &MainForm::destroying, &form, [&app] { onWindowDestroying(app); });
}

}  // namespace qinghe::app
