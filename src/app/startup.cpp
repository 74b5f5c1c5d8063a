#include "app/startup.h"

#include <string>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/journal_support.h"
#include "app/journal_totals_handler.h"
#include "app/main_form.h"
#include "app/month_progress.h"
#include "app/rules_choice.h"
#include "app/settings.h"
#include "app/table_passwords.h"
#include "app/wage_handler.h"
#include "common/gbk.h"
#include "datafolder/password.h"
#include "journal/journal_maintenance.h"
#include "journal/month_totals.h"
#include "recordstore/errors.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/prompts.h"
#include "ui/transparent_label.h"
#include "wages/holidays.h"

namespace qinghe::app {
namespace {

using namespace literals;

constexpr ui::MessageStyle kErrorBox{ui::MessageButtons::Ok, ui::MessageIcon::Error};

constexpr ui::MessageStyle kQuestionBox{ui::MessageButtons::OkCancel, ui::MessageIcon::Question};

// The first run: asks for the new password until the two entries agree (two
// empty ones only once the person confirms that the journal is to have
// none), then creates the journal with it. A password that the journal
// refuses is said so and asked again. False when the window is to close: a
// Cancel, or a journal that cannot be created. The journal is created only
// with its password, so a Cancel leaves no journal without one behind.
bool createJournalWithPassword(AppContext& app) {
    while (true) {
        std::string password;
        std::string confirmed;
        if (!app.prompts.inputBox(password, {}, "请设置密码"_gbk, true) ||
            !app.prompts.inputBox(confirmed, {}, "确认密码"_gbk, true)) {
            return false;
        }
        if (password != confirmed) {
            app.prompts.messageBox("两次密码输入不一致！"_gbk, kErrorBox);
            continue;
        }
        if (password.empty() &&
            app.prompts.messageBox("是否设定空密码？"_gbk, kQuestionBox) != ui::MessageResult::Ok) {
            continue;
        }
        journal::StoreError error;
        if (journal::createJournal(app.folder.journal(password), error)) return true;
        const bool refused = error.code == recordstore::error::kBadPasswordText;
        showJournalFailure(app, refused ? "设置密码"_gbk : "创建数据库"_gbk, error);
        if (!refused) return false;
    }
}

// Whether asking for the password again may open a journal that failed
// with `code`: a wrong password, or one held by another process for a moment.
bool askingAgainMayHelp(int code) {
    namespace error = recordstore::error;
    return code == error::kWrongPassword || code == error::kSharingViolation ||
           code == error::kLockViolation;
}

// Asks until the journal opens with the typed password; false on Cancel, and
// after the one message of a failure that no password can mend (a FIFO or a
// device in the journal's place, a damaged journal).
bool askPasswordUntilItOpens(AppContext& app) {
    const datafolder::FolderTable& table = datafolder::folderTable(journal::kTableName);
    while (true) {
        std::string typed;
        if (!app.prompts.inputBox(typed, {}, "请输入密码"_gbk, true)) return false;
        if (asksForStoreDialog(typed)) continue;
        app.password = typed;
        const journal::OpenJournal journal(journalAccess(app), journal::OpenMode::ReadOnly);
        if (journal.isOpen()) return true;
        journal::StoreError error = journal.error();
        const datafolder::TableFailure failure =
            datafolder::explainFailure(app.folder, table, app.password, error);
        const bool askAgain = !failure.damaged && askingAgainMayHelp(error.code);
        if (askAgain && error.code == recordstore::error::kWrongPassword) continue;
        error.opening = false;
        error.message = failure.reason;
        showJournalFailure(app, "打开数据库"_gbk, error);
        if (!askAgain) return false;
    }
}

// "本月法定节假日有：" and the month's holiday names, or nothing in a month
// without holidays.
void showMonthHolidays(AppContext& app) {
    MainForm& form = app.form;
    const std::string h =
        wages::monthHolidays(form.日期框1->value(), chosenRules(app));  // ends in the count
    form.标签本月节假日->setCaptionGbk(
        h == "0" ? std::string() : "本月法定节假日有："_gbk + h.substr(0, h.size() - 1));
}

}  // namespace

void onWindowCreated(AppContext& app) {
    MainForm& form = app.form;
    app.startupTime = app.clock.now();
    app.pickedMonthText = journal::pickedMonthText(form.日期框1->value());
    if (!app.folder.journalExists() && !createJournalWithPassword(app)) {
        form.requestClose();
        return;
    }
    if (!askPasswordUntilItOpens(app)) {
        form.requestClose();
        return;
    }
    bringTablesToPassword(app);
    tellDroppedRecords(app);
    readShiftSetting(app);
    showRules(app, readRulesSetting(app));
    onDateChanged(app);
    totalJournalMonth(app);
    calculateWages(app);
    form.组合框->selectIndex(0);
    showMonthProgress(app);
    showMonthHolidays(app);
    app.started = true;
}

}  // namespace qinghe::app
