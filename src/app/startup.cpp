#include "app/startup.h"

#include <cerrno>
#include <string>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/journal_support.h"
#include "app/journal_totals_handler.h"
#include "app/main_form.h"
#include "app/month_progress.h"
#include "app/rules_choice.h"
#include "app/settings.h"
#include "app/wage_handler.h"
#include "common/gbk.h"
#include "journal/journal_maintenance.h"
#include "journal/journal_table.h"
#include "journal/month_totals.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/prompts.h"
#include "ui/transparent_label.h"
#include "wages/holidays.h"

namespace qinghe::app {
namespace {

using namespace literals;

constexpr ui::MessageStyle kErrorBox{ui::MessageButtons::Ok, ui::MessageIcon::Error};

// Whether the program's directory holds the journal's file, in any letter
// case. A file that is there but cannot be opened counts as there: it is
// never created over.
bool journalExists(AppContext& app) {
    const std::string name = gbk::toUtf8(std::string(journal::kTableName)) + ".EDB";
    const std::string path =
        recordstore::resolveIgnoringCase(app.files, (app.dir.path / name).string());
    const int handle = app.files.open(path, false, false);
    if (handle >= 0) app.files.close(handle);
    return handle != -ENOENT;
}

// A masked box; Cancel counts as an empty entry.
std::string askNewPassword(AppContext& app, std::string_view title) {
    std::string typed;
    app.prompts.inputBox(typed, {}, title, true);
    return typed;
}

// The first run: false when the window is to close.
bool createJournalWithPassword(AppContext& app) {
    journal::JournalAccess access = journalAccess(app);
    access.password.clear();
    journal::StoreError error;
    if (!journal::createJournal(access, error)) {
        showJournalFailure(app, "创建数据库"_gbk, error);
        return false;
    }
    const std::string password = askNewPassword(app, "请设置密码"_gbk);
    const std::string confirmed = askNewPassword(app, "确认密码"_gbk);
    if (password != confirmed) {
        app.prompts.messageBox("两次密码输入不一致！"_gbk, kErrorBox);
        return false;
    }
    if (password.empty()) return true;
    journal::OpenJournal journal(access, journal::OpenMode::Exclusive);
    if (!journal.isOpen() || !journal.setPassword(password)) {
        error = journal.isOpen() ? journal::lastStoreError() : journal.error();
        error.opening = false;
        showJournalFailure(app, "设置密码"_gbk, error);
        return false;
    }
    return true;
}

// Asks until the journal opens with the typed password; false on Cancel.
bool askPasswordUntilItOpens(AppContext& app) {
    while (true) {
        std::string typed;
        if (!app.prompts.inputBox(typed, {}, "请输入密码"_gbk, true)) return false;
        app.password = typed;
        const journal::OpenJournal journal(journalAccess(app), journal::OpenMode::ReadOnly);
        if (journal.isOpen()) return true;
        if (journal.error().code != recordstore::error::kWrongPassword) {
            journal::StoreError error = journal.error();
            error.opening = false;
            showJournalFailure(app, "打开数据库"_gbk, error);
        }
    }
}

// "本月法定节假日有：" and the month's holiday names, or nothing in a month
// without holidays.
void showMonthHolidays(MainForm& form) {
    const std::string h =
        wages::monthHolidays(form.日期框1->value(), chosenRules(form));  // ends in the count
    form.标签本月节假日->setCaptionGbk(
        h == "0" ? std::string() : "本月法定节假日有："_gbk + h.substr(0, h.size() - 1));
}

}  // namespace

void onWindowCreated(AppContext& app) {
    MainForm& form = app.form;
    app.startupTime = app.clock.now();
    app.pickedMonthText = journal::pickedMonthText(form.日期框1->value());
    if (!journalExists(app) && !createJournalWithPassword(app)) {
        form.requestClose();
        return;
    }
    if (!askPasswordUntilItOpens(app)) {
        form.requestClose();
        return;
    }
    readShiftSetting(app);
    showRules(form, readRulesSetting(app));
    onDateChanged(app);
    totalJournalMonth(app);
    calculateWages(app);
    form.组合框->selectIndex(0);
    showMonthProgress(app);
    showMonthHolidays(form);
    app.started = true;
}

}  // namespace qinghe::app
