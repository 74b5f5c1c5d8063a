// The record store's fatal run-time error while the window runs: a box
// captioned "错误" with the error icon, whose text is "运行时出错!", a blank
// line, "错误代码：" with the code and a blank line, then "错误信息：", the
// message and a line break (each part only when there is a code or a
// message); then the program ends with status -1. The journal's own
// handlers never reach it (their opens check the journal's fields), but
// nothing that reads a field can end the program without saying so.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>

#include "recordstore/errors.h"

namespace qinghe::ui {
class Prompts;
}

namespace qinghe::app {

std::string fatalErrorText(const recordstore::FatalError& error);

// Installs the box as the record store's fatal-error handler for its
// lifetime, and puts the previous handler back when it ends.
class FatalErrorBox {
  public:
    using EndProgram = std::function<void(int status)>;
    explicit FatalErrorBox(
        ui::Prompts& prompts, EndProgram end = [](int s) { std::exit(s); });
    FatalErrorBox(const FatalErrorBox&) = delete;
    FatalErrorBox& operator=(const FatalErrorBox&) = delete;
    ~FatalErrorBox();

  private:
    recordstore::FatalErrorHandler previous_;
};

}  // namespace qinghe::app
