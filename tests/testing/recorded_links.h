// A link opener that opens nothing and keeps what it was asked to open.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/link_opener.h"

namespace qinghe::ui {

class RecordedLinks final : public LinkOpener {
  public:
    bool open(std::string_view url) override {
        opened.emplace_back(url);
        return true;
    }
    std::vector<std::string> opened;
};

}  // namespace qinghe::ui
