// Qinghe: one employee's pay and overtime journal, in one window.
#include <QApplication>
#include <QIcon>

#include "app/window_program.h"
#include "ui/translations.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Ties the window to its desktop entry (the task bar's name and icon) and
    // takes the installed icon from the theme.
    QGuiApplication::setDesktopFileName(QStringLiteral(QINGHE_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(QINGHE_APP_ID)));
    qinghe::ui::installChineseTranslations(application);
    qinghe::app::WindowProgram program;
    program.show();
    return QApplication::exec();
}
