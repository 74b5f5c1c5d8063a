// The picture button 图形按钮1: opens the program's user guide, a page that
// ships with the program and needs no network, in the default browser.
//
// The guide is looked for beside the executable (guide/index.html, where the
// build puts it), then where an installation puts it relative to the
// executable (../share/doc/qinghe/guide/index.html). When neither exists, or
// no browser opens it, nothing is shown.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace qinghe::app {

struct AppContext;

// The guide for an executable in `executableDir`, or nullopt (paths UTF-8).
std::optional<std::string> findUserGuide(const std::string& executableDir,
                                         platform::FileSystem& fs = platform::posixFileSystem());

void openUserGuide(AppContext& app);

}  // namespace qinghe::app
