#include "app/user_guide.h"

#include <QUrl>

#include "app/app_context.h"
#include "common/program_dir.h"
#include "ui/link_opener.h"

namespace qinghe::app {

namespace fs = std::filesystem;

std::optional<fs::path> findUserGuide(const fs::path& executableDir) {
    const fs::path candidates[] = {
        executableDir / "guide" / "index.html",
        executableDir.parent_path() / "share" / "doc" / "qinghe" / "guide" / "index.html",
    };
    for (const fs::path& guide : candidates) {
        std::error_code error;
        if (fs::is_regular_file(guide, error)) return guide.lexically_normal();
    }
    return std::nullopt;
}

void openUserGuide(AppContext& app) {
    if (const std::optional<fs::path> guide = findUserGuide(executableDir())) {
        app.links.open(
            QUrl::fromLocalFile(QString::fromStdString(guide->string())).toString().toStdString());
    }
}

}  // namespace qinghe::app
