// Start-up: the window's created event, before the window is shown.
//
// In this order: startupTime is now; pickedMonthText is the month of
// 日期框1's date. On the first run (no journal 加班.edb in the program's
// directory, found without regard to letter case) the person sets the
// journal's password in two masked boxes, "请设置密码" and "确认密码", until
// the two agree: when they differ, "两次密码输入不一致！" (error icon) and
// both are asked again; two empty entries ask "是否设定空密码？" (OK: a
// journal without password; Cancel: asked again); a password that the
// journal refuses ("?") is said so ("设置密码失败：…") and asked again. Only
// then is the journal created, with that password; Cancel at either box
// closes the window and leaves no journal. Then the password loop: "请输入密码"
// until the journal opens with the typed text, which becomes the remembered
// password; Cancel closes the window. A wrong password is answered only by
// asking again; a journal that another program holds for a moment says so
// ("打开数据库失败：…") and asks again, so that the person is never left in a
// silent loop; a journal that no password can open (a FIFO or a device in
// its place, a damaged file: "打开数据库失败：文件已损坏，…") says why once and
// the window closes. A journal whose count passes its records (a copy cut
// short) is cut back by that open. Then the folder's other tables are
// brought to that password (table_passwords.h), and what the opens cut back
// is said, a box a table ("加班记录的最后一条不完整，已去掉", warning icon).
// Then the first values: the night-shift setting, the choice of rules, the date-change
// routine, the month's totals, the wage calculation, 组合框's first item, the
// month's progress and the holiday label.
//
// A journal that cannot be created is reported ("创建数据库失败：…") and the
// window closes. Every close requested here happens after the handler
// returns, and then shut-down saves nothing (AppContext::started stays false).
#pragma once

namespace qinghe::app {

struct AppContext;

void onWindowCreated(AppContext& app);

}  // namespace qinghe::app
