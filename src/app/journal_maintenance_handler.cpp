#include "app/journal_maintenance_handler.h"

#include <string>

#include "app/app_context.h"
#include "app/journal_support.h"
#include "app/journal_totals_handler.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "datafolder/password.h"
#include "journal/journal_maintenance.h"
#include "recordstore/errors.h"
#include "ui/prompts.h"
#include "ui/transparent_label.h"

namespace qinghe::app {

using namespace literals;
using ui::MessageButtons;
using ui::MessageIcon;

namespace {

bool confirmed(AppContext& app, const std::string& text, MessageIcon icon,
               std::string_view caption = ui::kDefaultMessageCaption) {
    return app.prompts.messageBox(text, {MessageButtons::OkCancel, icon}, caption) ==
           ui::MessageResult::Ok;
}

void inform(AppContext& app, const std::string& text, MessageIcon icon) {
    app.prompts.messageBox(text, {MessageButtons::Ok, icon});
}

// A masked password box with `title` (and `prompt` above the field); Cancel
// gives the empty text.
std::string askPassword(AppContext& app, const std::string& title, const std::string& prompt = {}) {
    std::string typed;
    app.prompts.inputBox(typed, prompt, title, true);
    return typed;
}

}  // namespace

void deleteLastRecord(AppContext& app) {
    const journal::JournalAccess access = journalAccess(app);
    const std::string action = "删除记录"_gbk;
    journal::LastRecord last;
    journal::StoreError error;
    if (!journal::readLastRecord(access, last, error)) {
        showJournalFailure(app, action, error);
        return;
    }
    if (!confirmed(app, journal::deleteQuestion(last.date), MessageIcon::None)) return;
    switch (journal::removeLastRecord(access, last, error)) {
        case journal::DeleteOutcome::Failed:
            showJournalFailure(app, action, error);
            return;
        case journal::DeleteOutcome::Changed:
            inform(app, "加班记录已被更改，没有删除任何记录，请重新操作。"_gbk,
                   MessageIcon::Information);
            return;
        case journal::DeleteOutcome::Deleted:
        case journal::DeleteOutcome::Empty:
            break;
    }
    refreshJournalMonth(app);
}

void sortJournal(AppContext& app) {
    journal::StoreError error;
    if (!journal::sortByDate(journalAccess(app), error)) {
        showJournalFailure(app, "数据库排序"_gbk, error);
        return;
    }
    inform(app, "排序完成！"_gbk, MessageIcon::Information);
}

void clearJournal(AppContext& app) {
    if (!confirmed(app, "当前操作将清空数据库的所有内容，不可恢复，请确认！"_gbk,
                   MessageIcon::Warning, "警告"_gbk)) {
        return;
    }
    journal::JournalAccess access = journalAccess(app);
    access.password = askPassword(app, "请输入数据库密码"_gbk, "数据库清空后将不可恢复！"_gbk);
    journal::StoreError error{recordstore::error::kWrongPassword, {}, false};
    if (!asksForStoreDialog(access.password) && journal::removeAllRecords(access, error)) {
        inform(app, "数据库清空成功！"_gbk, MessageIcon::Information);
    } else if (error.code == recordstore::error::kWrongPassword) {
        inform(app, "数据库清空失败！请确认密码是否正确！"_gbk, MessageIcon::Warning);
    } else {
        inform(app, "数据库清空失败！"_gbk + error.message, MessageIcon::Warning);
    }
}

void changeJournalPassword(AppContext& app) {
    const std::string action = "修改数据库密码"_gbk;
    journal::StoreError error;
    if (!datafolder::opensWith(app.folder, app.password, error)) {
        showJournalFailure(app, action, error);
        return;
    }
    const std::string first = askPassword(app, "请设置新密码"_gbk);
    const std::string second = askPassword(app, "请再次输入新密码"_gbk);
    if (first != second) {
        inform(app, "两次密码输入不一致！"_gbk, MessageIcon::Error);
        return;
    }
    if (first.empty() && !confirmed(app, "是否设定空密码？"_gbk, MessageIcon::Question)) return;
    if (!datafolder::changePassword(app.folder, app.password, first, error)) {
        showJournalFailure(app, action, error);
        return;
    }
    app.password = first;
    app.form.标签状态->setCaptionGbk("密码已修改"_gbk);
}

}  // namespace qinghe::app
