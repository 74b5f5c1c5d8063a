// The record store's password dialog on the terminal: its caption, the retry
// line from the second showing on and its prompt go to stderr, the password
// is read as one line of stdin, without echo when stdin is a terminal.
#pragma once

#include <optional>
#include <string>

#include "recordstore/prompt.h"

namespace qinghe::cli {

class TerminalPrompt final : public recordstore::PasswordPrompt {
  public:
    // The typed line as GBK; nothing when stdin ends first. A line with a
    // character that has no GBK form gives the empty password, which no
    // enciphered table accepts.
    std::optional<std::string> ask(int attemptsLeft) override;
};

}  // namespace qinghe::cli
