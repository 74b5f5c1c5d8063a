#include "app/shutdown.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/app_context.h"
#include "app/journal_support.h"
#include "app/settings.h"
#include "common/gbk.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"
#include "ui/prompts.h"

namespace qinghe::app {
namespace {

namespace fs = std::filesystem;
using namespace literals;

const std::string kBackupFolder = "数据库备份"_gbk;
const std::string kBackupFile = "加班备份.edb"_gbk;

// A day as the number yyyymmdd (the year 100 gives 1000101).
long dayNumber(int year, int month, int day) {
    return static_cast<long>(year) * 10000 + month * 100 + day;
}

// The local day of the backup's last write; 1 January 100 when there is
// none.
long backupDay(const fs::path& backup) {
    std::error_code error;
    const fs::file_time_type written = fs::last_write_time(backup, error);
    if (error) return dayNumber(kMinYear, 1, 1);
    const std::time_t t =
        std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
    std::tm local{};
    localtime_r(&t, &local);
    return dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

bool journalHasRecords(AppContext& app) {
    journal::OpenJournal journal(journalAccess(app), journal::OpenMode::ReadOnly);
    int count = 0;
    return journal.isOpen() && journal.count(count) && count > 0;
}

// Copies the journal over the backup; on failure the reason, else nothing.
std::optional<journal::StoreError> copyJournalTo(AppContext& app, const fs::path& folder) {
    journal::OpenJournal journal(journalAccess(app), journal::OpenMode::ReadOnly);
    if (!journal.isOpen()) return journal.error();
    const std::string target = journal::tablePathIn(folder, kBackupFile);
    if (target.empty() || !journal.store().copyInto(target)) return journal::lastStoreError();
    return std::nullopt;
}

void backUpJournal(AppContext& app) {
    if (!journalHasRecords(app)) return;
    const fs::path folder = app.dir.file(kBackupFolder);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        showJournalFailure(app, "数据库备份"_gbk,
                           {recordstore::error::kUnknown, "无法创建文件夹 数据库备份"_gbk, false});
        return;
    }
    const fs::path backup =
        recordstore::resolveIgnoringCase(app.files, (folder / gbk::toUtf8(kBackupFile)).string());
    const CivilDate today = dateOf(app.clock.now());
    if (backupDay(backup) >= dayNumber(today.year, today.month, today.day)) return;
    if (const std::optional<journal::StoreError> failure = copyJournalTo(app, folder)) {
        journal::StoreError reason = *failure;
        reason.opening = false;
        showJournalFailure(app, "数据库备份"_gbk, reason);
        return;
    }
    app.prompts.messageBox("数据库已备份。"_gbk,
                           {ui::MessageButtons::Ok, ui::MessageIcon::Information});
}

}  // namespace

void onWindowDestroying(AppContext& app) {
    if (!app.started) return;
    saveSettings(app);
    backUpJournal(app);
}

}  // namespace qinghe::app
