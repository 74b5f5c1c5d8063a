// Qinghe: one employee's pay and overtime journal, in one window.
#include <QApplication>

#include "app/window_program.h"
#include "ui/translations.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    qinghe::ui::installChineseTranslations(application);
    qinghe::app::WindowProgram program;
    program.show();
    return QApplication::exec();
}
