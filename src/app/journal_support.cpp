#include "app/journal_support.h"

#include "app/app_context.h"
#include "common/gbk.h"
#include "ui/prompts.h"

namespace qinghe::app {

using namespace literals;

journal::JournalAccess journalAccess(AppContext& app) {
    return app.folder.journal(app.password);
}

bool asksForStoreDialog(std::string_view typed) {
    return typed == "?";
}

void showJournalFailure(AppContext& app, std::string_view action,
                        const journal::StoreError& error) {
    std::string text = std::string(action) + "失败："_gbk;
    if (error.opening) text += "无法打开数据库，"_gbk;
    text += error.message;
    app.prompts.messageBox(text, {ui::MessageButtons::Ok, ui::MessageIcon::Error});
}

void tellDroppedRecords(AppContext& app) {
    for (const std::string& notice : app.folder.takeDroppedRecordNotices()) {
        app.prompts.messageBox(notice, {ui::MessageButtons::Ok, ui::MessageIcon::Warning});
    }
}

}  // namespace qinghe::app
