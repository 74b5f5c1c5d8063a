// Start-up, once the journal has opened with the password typed: the data
// folder's other tables brought to that password (datafolder/password.h).
//
// A table that refuses it is one that a password change cut short left with
// the old password. A table without any password is brought to the
// journal's at once (it protects nothing); for any other the person is
// asked for its own in a masked box "请输入密码" that says "工资记录的密码与加班
// 数据库的不一致，请输入工资记录的密码", until the table opens with the text typed, and the table
// then takes the journal's password. Cancel leaves the table as it is: the
// window goes on, what reads that table says that it cannot open it, and
// the next start asks again. A re-keying that fails is said
// ("统一密码失败：…"). A damaged table is never asked for a password, which
// cannot help: one box says so ("工资记录文件已损坏，…", datafolder/password.h)
// and the window goes on.
#pragma once

namespace qinghe::app {

struct AppContext;

void bringTablesToPassword(AppContext& app);

}  // namespace qinghe::app
