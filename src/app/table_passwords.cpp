#include "app/table_passwords.h"

#include <string>

#include "app/app_context.h"
#include "app/journal_support.h"
#include "common/gbk.h"
#include "datafolder/password.h"
#include "recordstore/errors.h"
#include "ui/prompts.h"

namespace qinghe::app {

using namespace literals;

void bringTablesToPassword(AppContext& app) {
    for (const datafolder::RefusingTable& refusing :
         datafolder::tablesRefusing(app.folder, app.password)) {
        if (refusing.failure.damaged) {
            app.prompts.messageBox(refusing.failure.named,
                                   {ui::MessageButtons::Ok, ui::MessageIcon::Warning});
            continue;
        }
        const std::string_view table = refusing.table->name;
        const std::string name(refusing.table->shownName);
        const std::string prompt =
            name + "的密码与加班数据库的不一致，请输入"_gbk + name + "的密码"_gbk;
        std::string typed;  // first without any: a table that has none
        while (true) {
            journal::StoreError error;
            if (datafolder::bringToPassword(app.folder, table, typed, app.password, error)) break;
            if (error.code != recordstore::error::kWrongPassword) {
                showJournalFailure(app, "统一密码"_gbk, error);
                break;
            }
            if (!app.prompts.inputBox(typed, prompt, "请输入密码"_gbk, true)) break;
        }
    }
}

}  // namespace qinghe::app
