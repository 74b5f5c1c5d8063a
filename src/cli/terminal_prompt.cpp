#include "cli/terminal_prompt.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "cli/usage_error.h"
#include "common/gbk.h"

namespace qinghe::cli {

namespace rs = qinghe::recordstore;

namespace {

// Overwrites a typed password before its memory is given back.
struct Wiped {
    std::string text;
    Wiped() = default;
    Wiped(const Wiped&) = delete;
    Wiped& operator=(const Wiped&) = delete;
    ~Wiped() { std::fill(text.begin(), text.end(), ' '); }
};

// Shows `prompt` (UTF-8) and reads one line into `line`; false when stdin
// ends first.
bool readSecretLine(const std::string& prompt, Wiped& line) {
    std::cerr << prompt << std::flush;
    termios saved{};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const bool got = static_cast<bool>(std::getline(std::cin, line.text));
    if (terminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
    if (got && line.text.ends_with('\r')) line.text.pop_back();
    return got;
}

}  // namespace

std::optional<std::string> TerminalPrompt::ask(int attemptsLeft) {
    std::cerr << gbk::toUtf8(rs::passwordCaption()) << '\n';
    if (attemptsLeft < rs::kPasswordAttempts) {
        std::cerr << gbk::toUtf8(rs::passwordRetryText(attemptsLeft)) << '\n';
    }
    Wiped line;
    if (!readSecretLine(gbk::toUtf8(rs::passwordPromptText()), line)) return std::nullopt;
    gbk::Conversion c = gbk::fromUtf8(line.text);
    if (!c.ok) return std::string();
    return std::move(c.text);
}

std::string askNewPassword() {
    Wiped first;
    Wiped second;
    if (!readSecretLine("请设置新密码：", first) || !readSecretLine("请再次输入新密码：", second)) {
        throw UsageError{"no password was typed"};
    }
    if (first.text != second.text) throw UsageError{"两次密码输入不一致！"};
    return gbkArgument(first.text, "the password");
}

}  // namespace qinghe::cli
