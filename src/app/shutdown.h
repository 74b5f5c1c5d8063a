// Shut-down: the window's about-to-be-destroyed event, after which the
// program ends.
//
// Only after a start-up that went through (AppContext::started): the
// settings are saved (settings.h), then the journal is backed up at most
// once a day, on the first close of a day when the backup in
// 数据库备份/加班备份.edb is older than today (by the yyyymmdd of its
// last-write time; no backup counts as 1 January 100) and the journal holds
// records. An empty journal is never backed up and creates no folder.
//
// The backup is the record store's copy of the journal, written beside the
// old backup and moved over it only when complete: a backup that fails
// part-way leaves the previous one as it was. Success shows "数据库已备份。"
// (information icon); a failure says so ("数据库备份失败：…", error icon)
// and never claims a backup.
#pragma once

namespace qinghe::app {

struct AppContext;

void onWindowDestroying(AppContext& app);

}  // namespace qinghe::app
