#include "ui/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/window_look.h"

namespace qinghe::ui {

bool setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QString::fromUtf8(kProgramName));
    setWindowLook();
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace qinghe::ui
