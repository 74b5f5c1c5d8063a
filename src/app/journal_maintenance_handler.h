// The four buttons of "数据库操作" that maintain the journal
// (journal/journal_maintenance.h). Every failure of a step gets the record
// store's reason in a box; a Cancel changes nothing and says nothing.
#pragma once

namespace qinghe::app {

struct AppContext;

// "删除记录": asks "确认要删除<date>的加班记录！" (OK/Cancel, no icon) about the
// journal's last record; on OK deletes it and runs the refresh of "刷新".
void deleteLastRecord(AppContext& app);

// "数据库排序": sorts the journal by date; "排序完成！" once it has.
void sortJournal(AppContext& app);

// "数据库清空": after the warning "当前操作将清空数据库的所有内容，不可恢复，请确认！"
// (captioned "警告") and a password typed afresh ("请输入数据库密码"), empties
// the journal: "数据库清空成功！", or "数据库清空失败！请确认密码是否正确！" for
// a wrong password ("?" included: journal_support.h).
void clearJournal(AppContext& app);

// "修改数据库密码": the new password asked twice ("请设置新密码",
// "请再次输入新密码"); different texts give "两次密码输入不一致！", two empty
// ones ask "是否设定空密码？". The password is the data folder's: every table
// of the folder takes it (datafolder/password.h). Once it has changed, the
// remembered password follows it, so that every other button keeps working,
// and the status line 标签状态 says "密码已修改".
void changeJournalPassword(AppContext& app);

}  // namespace qinghe::app
