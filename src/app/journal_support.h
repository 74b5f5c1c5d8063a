// What the journal's handlers share: the journal as the window reaches it
// (through the data folder, with the remembered password), the one password
// the window never hands to the record store, and the one box that tells
// the person that a step failed or what an open cut back.
#pragma once

#include <string_view>

#include "journal/journal_access.h"

namespace qinghe::app {

struct AppContext;

journal::JournalAccess journalAccess(AppContext& app);

// True for "?": the record store takes that password as a request for its
// own password dialog. The window asks in its own boxes and never shows that
// dialog, so a "?" typed into one of them is answered as a wrong password
// and never reaches the record store.
bool asksForStoreDialog(std::string_view typed);

// A message box with the error icon: `action` followed by "失败：", then, when
// the journal did not open, "无法打开数据库，", then the record store's
// message; for example "记录失败：无法打开数据库，访问文件时产生共享冲突".
void showJournalFailure(AppContext& app, std::string_view action, const journal::StoreError& error);

// What the opens of the data folder's tables cut back since the last call (a
// copy cut short: datafolder/data_folder.h), a box with the warning icon for
// each, such as "加班记录的最后一条不完整，已去掉". Start-up and every button's
// handler end with it.
void tellDroppedRecords(AppContext& app);

}  // namespace qinghe::app
