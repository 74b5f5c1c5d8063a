#include "ui/link_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace qinghe::ui {

bool DesktopLinkOpener::open(std::string_view url) {
    return QDesktopServices::openUrl(
        QUrl(QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size()))));
}

}  // namespace qinghe::ui
