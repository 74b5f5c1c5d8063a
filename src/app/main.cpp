// Qinghe: one employee's pay and overtime journal, in one window.
#include <QApplication>
#include <QIcon>

#include "app/window_program.h"
#include "datafolder/location.h"
#include "ui/application.h"
#include "ui/qt_prompts.h"
#include "ui/text.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    qinghe::ui::setUpApplication(application);
    // Ties the window to its desktop entry (the task bar's name and icon) and
    // takes the installed icon from the theme.
    QGuiApplication::setDesktopFileName(QStringLiteral(QINGHE_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(QINGHE_APP_ID)));
    qinghe::ui::QtPrompts prompts;
    std::string folder = qinghe::datafolder::dataFolderPath();
    if (const auto failure = qinghe::datafolder::createDataFolder(folder)) {
        prompts.messageBox(qinghe::ui::toGbk(QString::fromStdString(*failure)),
                           {qinghe::ui::MessageButtons::Ok, qinghe::ui::MessageIcon::Error});
        return 1;
    }
    qinghe::app::WindowProgram program(std::move(folder), prompts);
    program.start();
    return QApplication::exec();
}
