// Opening a document in the desktop's default application for it (a web
// page in the browser). Handlers reach it only through this interface, so
// that tests see what would have been opened instead of starting a browser.
#pragma once

#include <string_view>

namespace qinghe::ui {

class LinkOpener {
  public:
    virtual ~LinkOpener() = default;
    // Opens `url` (UTF-8, e.g. "file:///usr/share/doc/qinghe/guide/index.html").
    // False when the desktop found nothing to open it with.
    virtual bool open(std::string_view url) = 0;
};

// The desktop's own.
class DesktopLinkOpener final : public LinkOpener {
  public:
    bool open(std::string_view url) override;
};

}  // namespace qinghe::ui
