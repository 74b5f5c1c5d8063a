// Shut-down: the window's about-to-be-destroyed event, after which the
// program ends.
//
// Only after a start-up that went through (AppContext::started): what the
// person entered is saved in the settings file (settings.h; a save that
// fails says "无法保存配置项目.ini，本次输入的数据没有保存", error icon), then the journal is
// backed up when a backup is due (datafolder/backup.h: at most once a day, never an empty journal).
// Success shows "数据库已备份。" (information icon); a backup that replaced one dated after today
// says that too, in the same box (warning icon); a failure, a journal that cannot be opened
// included, says so ("数据库备份失败：无法打开数据库，…", error icon) and never claims a backup.
#pragma once

namespace qinghe::app {

struct AppContext;

void onWindowDestroying(AppContext& app);

}  // namespace qinghe::app
