#include "app/bindings.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <iterator>

#include "app/app_context.h"
#include "app/calendar_page_handler.h"
#include "app/date_change_handler.h"
#include "app/input_helpers.h"
#include "app/journal_grid_handler.h"
#include "app/journal_maintenance_handler.h"
#include "app/journal_support.h"
#include "app/journal_totals_handler.h"
#include "app/journal_views.h"
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
#include "wages/pay_form.h"

namespace qinghe::app {

namespace {

using Handler = void (*)(AppContext&);

// A button's handler; then what its opens cut back is said (journal_support.h).
void onClick(AppContext& app, QAbstractButton* button, Handler handler) {
    QObject::connect(button, &QAbstractButton::clicked, &app.form, [&app, handler] {
        handler(app);
        tellDroppedRecords(app);
    });
}

void bindWagesPage(AppContext& app) {
    MainForm& form = app.form;
    onClick(app, form.按钮导入, importSettings);
    QObject::connect(form.进度条1, &ui::ProgressBar::positionChanged, &form,
                     [&app] { snapMonthProgressBack(app); });
    ui::EditBox* basePay = form.编辑框正常工作时间工资;
    QObject::connect(basePay, &ui::EditBox::leftButtonReleased, basePay, &QLineEdit::selectAll);
    for (ui::EditBox* MainForm::*member : boxesSelectedOnEntry()) {
        ui::EditBox* box = form.*member;
        QObject::connect(box, &ui::EditBox::gotFocus, box, &QLineEdit::selectAll);
    }
    // What the person changes in the settings file's controls is saved at
    // shut-down (settings.h).
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        if (row.kept != wages::KeptInSettings::Yes) continue;
        ui::EditBox* box = form.*row.box;
        QObject::connect(box, &QLineEdit::textEdited, &form,
                         [&app, box] { app.enteredControls.insert(box); });
    }
    QObject::connect(form.选择框夜班, &QCheckBox::clicked, &form,
                     [&app] { app.enteredControls.insert(app.form.选择框夜班); });
    onClick(app, form.按钮结果输出, calculateWages);
    onClick(app, form.按钮记入工资记录, recordPayMonth);
    onClick(app, form.按钮工资记录, showPayRecord);
    QObject::connect(form.日期框1, &ui::DatePicker::userChangedDate, &form,
                     [&app] { onDateChanged(app); });
    for (const DayKindButton& kind : journal::dayKinds<ui::RadioButton*>()) {
        QObject::connect(form.*kind.button, &QAbstractButton::clicked, &form,
                         [&app, &kind] { onDayKindClicked(app, kind); });
    }
    onClick(app, form.按钮加班记录, recordDay);
    onClick(app, form.按钮刷新, refreshJournalMonth);
    onClick(app, form.按钮修改数据库密码, changeJournalPassword);
    onClick(app, form.按钮读取数据库, totalJournalMonth);
    onClick(app, form.按钮数据库排序, sortJournal);
    onClick(app, form.按钮删除, deleteLastRecord);
    onClick(app, form.按钮数据库清空, clearJournal);
}

void bindJournalPage(AppContext& app) {
    onClick(app, app.form.按钮表格刷新, fillJournalGrid);
}

void bindCalendarPage(AppContext& app) {
    MainForm& form = app.form;
    onClick(app, form.按钮上月, [](AppContext& a) { stepCalendarMonth(a, -1); });
    onClick(app, form.按钮下月, [](AppContext& a) { stepCalendarMonth(a, 1); });
    onClick(app, form.单选框月历, [](AppContext& a) { chooseCalendarView(a, false); });
    onClick(app, form.单选框全年, [](AppContext& a) { chooseCalendarView(a, true); });
    QObject::connect(form.月历1, &CalendarView::dayPicked, &form,
                     [&app](DateTime date) { pickCalendarDay(app, date); });
    QObject::connect(form.月历1, &CalendarView::monthStepped, &form,
                     [&app](int months) { stepCalendarMonth(app, months); });
    QObject::connect(form.月历1, &CalendarView::saveRequested, &form,
                     [&app] { saveCalendarPicture(app); });
    QObject::connect(form.年图1, &ChartView::saveRequested, &form,
                     [&app] { saveCalendarPicture(app); });
}

void bindSettingsPage(AppContext& app) {
    MainForm& form = app.form;
    // The page opens with the choice of rules and the file's tax settings.
    showRules(app, chosenRules(app));
    readTaxSettings(app);
    for (const auto& [rules, button] : rulesButtons()) {
        QObject::connect(form.*button, &QAbstractButton::clicked, &form,
                         [&app, rules] { onRulesChosen(app, rules); });
    }
    // The tax settings are saved at shut-down like the pay form's boxes.
    for (const TaxSettingBox& row : taxSettingBoxes()) {
        ui::EditBox* box = form.*row.box;
        QObject::connect(box, &QLineEdit::textEdited, &form,
                         [&app, box] { app.enteredControls.insert(box); });
    }
    QObject::connect(form.选择框上年收入不超过6万元, &QCheckBox::clicked, &form,
                     [&app] { app.enteredControls.insert(app.form.选择框上年收入不超过6万元); });
}

void bindHelpPage(AppContext& app) {
    onClick(app, app.form.图形按钮1, openUserGuide);
}

// The bindings of each page's controls, by page.
constexpr Handler kPageBindings[] = {bindWagesPage, bindJournalPage, bindCalendarPage,
                                     bindSettingsPage, bindHelpPage};
static_assert(std::size(kPageBindings) == kPageHelp + 1);

}  // namespace

void bindEvents(AppContext& app) {
    MainForm& form = app.form;
    auto bindPage = [&app](int page) { kPageBindings[static_cast<std::size_t>(page)](app); };
    for (int page = 0; page < form.高级选择夹1->pageCount(); ++page) {
        if (form.isPageBuilt(page)) bindPage(page);
    }
    QObject::connect(&form, &MainForm::pageBuilt, &form, bindPage);
    QObject::connect(form.高级选择夹1, &ui::PageControl::pageChanged, &form,
                     [&app] { pageChanged(app); });
    QObject::connect(form.时钟1, &QTimer::timeout, &form, [&app] { updateTitleClock(app); });
    QObject::connect(&form, &MainForm::created, &form, [&app] { onWindowCreated(app); });
    QObject::connect(&form, &MainForm::destroying, &form, [&app] { onWindowDestroying(app); });
}

}  // namespace qinghe::app
