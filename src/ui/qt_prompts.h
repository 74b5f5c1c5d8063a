// The message box and the input box as Qt dialogs, modal to the whole
// program and without an owner window.
#pragma once

#include "ui/prompts.h"

namespace qinghe::ui {

class QtPrompts final : public Prompts {
  public:
    MessageResult messageBox(std::string_view text, MessageStyle style,
                             std::string_view caption = kDefaultMessageCaption) override;
    bool inputBox(std::string& text, std::string_view prompt = {},
                  std::string_view title = kDefaultInputTitle, bool masked = false) override;
    bool saveFileBox(std::string& path, std::string_view title, std::string_view suggested,
                     std::string_view filters) override;
};

}  // namespace qinghe::ui
