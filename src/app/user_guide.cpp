#include "app/user_guide.h"

#include <QUrl>

#include "app/app_context.h"
#include "datafolder/location.h"
#include "platform/paths.h"
#include "ui/link_opener.h"

namespace qinghe::app {

std::optional<std::string> findUserGuide(const std::string& executableDir,
                                         platform::FileSystem& fs) {
    const std::string candidates[] = {
        platform::childPath(executableDir, "guide/index.html"),
        platform::childPath(platform::directoryOf(executableDir),
                            "share/doc/qinghe/guide/index.html"),
    };
    for (const std::string& guide : candidates) {
        platform::FileStatus status;
        if (fs.status(guide, status) == 0 && status.kind == platform::FileKind::Regular) {
            return platform::absolutePath(guide, "/");
        }
    }
    return std::nullopt;
}

void openUserGuide(AppContext& app) {
    if (const std::optional<std::string> guide = findUserGuide(datafolder::executableDir())) {
        app.links.open(
            QUrl::fromLocalFile(QString::fromStdString(*guide)).toString().toStdString());
    }
}

}  // namespace qinghe::app
