// Public header of the record store (README.md lists the others).
//
// How the record store asks the user for a table's password.
//
// openTable with the password "?" on an enciphered table shows the engine's
// password dialog up to three times. The dialog has the caption "密码输入",
// the prompt "请输入数据库访问密码：", a masked edit box and the buttons
// "确认(&O)" and "取消(&C)"; from its second showing on it also shows the
// line "密码错误，您还有 %d 次重新输入的机会。" with the number of attempts
// left (2, then 1). The record store has no window of its own: the program
// installs an implementation (the window shows a dialog, the command-line
// tool reads the terminal, tests script the answers).
#pragma once

#include <optional>
#include <string>

namespace qinghe::recordstore {

inline constexpr int kPasswordAttempts = 3;

class PasswordPrompt {
  public:
    virtual ~PasswordPrompt() = default;
    // Shows the dialog once. `attemptsLeft` is 3 on the first showing (no
    // retry line) and 2, then 1 on the following ones. Returns the typed
    // password as GBK, or nothing for Cancel. An implementation overwrites its
    // own copy of the typed text when the dialog closes.
    virtual std::optional<std::string> ask(int attemptsLeft) = 0;
};

// The dialog's texts as GBK.
std::string passwordCaption();                    // "密码输入"
std::string passwordPromptText();                 // "请输入数据库访问密码："
std::string passwordRetryText(int attemptsLeft);  // "密码错误，您还有 N 次重新输入的机会。"

}  // namespace qinghe::recordstore
