// Shut-down: the window's about-to-be-destroyed event, after which the
// program ends.
//
// Only after a start-up that went through (AppContext::started): the
// settings are saved (settings.h), then the journal is backed up when a
// backup is due (datafolder/backup.h: at most once a day, never an empty
// journal). Success shows "数据库已备份。" (information icon); a failure says
// so ("数据库备份失败：…", error icon) and never claims a backup.
#pragma once

namespace qinghe::app {

struct AppContext;

void onWindowDestroying(AppContext& app);

}  // namespace qinghe::app
