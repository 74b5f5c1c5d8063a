#include "cli/terminal_prompt.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "common/gbk.h"

namespace qinghe::cli {

namespace rs = qinghe::recordstore;

std::optional<std::string> TerminalPrompt::ask(int attemptsLeft) {
    std::cerr << gbk::toUtf8(rs::passwordCaption()) << '\n';
    if (attemptsLeft < rs::kPasswordAttempts) {
        std::cerr << gbk::toUtf8(rs::passwordRetryText(attemptsLeft)) << '\n';
    }
    std::cerr << gbk::toUtf8(rs::passwordPromptText()) << std::flush;
    termios saved{};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool got = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
    if (!got) return std::nullopt;
    gbk::Conversion c = gbk::fromUtf8(line);
    std::fill(line.begin(), line.end(), ' ');
    if (!c.ok) return std::string();
    return std::move(c.text);
}

}  // namespace qinghe::cli
