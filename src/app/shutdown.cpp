#include "app/shutdown.h"

#include "app/app_context.h"
#include "app/journal_support.h"
#include "app/settings.h"
#include "common/gbk.h"
#include "datafolder/backup.h"
#include "ui/prompts.h"

namespace qinghe::app {
namespace {

using namespace literals;

void backUpJournal(AppContext& app) {
    journal::StoreError error;
    const datafolder::BackupOutcome outcome =
        datafolder::backUpJournal(app.folder, app.password, app.clock.now(), error);
    switch (outcome) {
        case datafolder::BackupOutcome::NotDue:
            return;
        case datafolder::BackupOutcome::Made:
            app.prompts.messageBox("数据库已备份。"_gbk,
                                   {ui::MessageButtons::Ok, ui::MessageIcon::Information});
            return;
        case datafolder::BackupOutcome::MadeOverFuture:
            app.prompts.messageBox(
                "数据库已备份。原有备份的日期晚于今天（电脑时钟曾经不准？），已被今天的备份替换。"_gbk,
                {ui::MessageButtons::Ok, ui::MessageIcon::Warning});
            return;
        case datafolder::BackupOutcome::Failed:
            showJournalFailure(app, "数据库备份"_gbk, error);
            return;
        case datafolder::BackupOutcome::PayRecordFailed:
        case datafolder::BackupOutcome::MadeButPayRecordFailed: {
            const bool made = outcome == datafolder::BackupOutcome::MadeButPayRecordFailed;
            app.prompts.messageBox(
                (made ? "加班数据库已备份；工资记录未能备份："_gbk : "工资记录未能备份："_gbk) +
                    error.message,
                {ui::MessageButtons::Ok, ui::MessageIcon::Warning});
            return;
        }
    }
}

}  // namespace

void onWindowDestroying(AppContext& app) {
    if (!app.started) return;
    if (!saveSettings(app)) {
        app.prompts.messageBox("无法保存配置项目.ini，本次输入的数据没有保存"_gbk,
                               {ui::MessageButtons::Ok, ui::MessageIcon::Error});
    }
    backUpJournal(app);
}

}  // namespace qinghe::app
