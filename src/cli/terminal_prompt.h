// Passwords typed on the terminal. Captions and prompts go to stderr; a
// password is read as one line of stdin, without echo when stdin is a
// terminal, a CR before the line's end (a line piped from a Windows file)
// dropped.
#pragma once

#include <optional>
#include <string>

#include "recordstore/prompt.h"

namespace qinghe::cli {

// The record store's password dialog: its caption, the retry line from the
// second showing on, and its prompt.
class TerminalPrompt final : public recordstore::PasswordPrompt {
  public:
    // The typed line as GBK; nothing when stdin ends first. A line with a
    // character that has no GBK form gives the empty password, which no
    // enciphered table accepts.
    std::optional<std::string> ask(int attemptsLeft) override;
};

// A new password, asked twice ("请设置新密码：", then "请再次输入新密码："),
// as GBK. A UsageError when stdin ends first, when the two lines differ
// ("两次密码输入不一致！") or when the line has a character without a GBK
// form; the empty line is the empty password.
std::string askNewPassword();

}  // namespace qinghe::cli
