// The program's start-up until its main window is on screen: main() of the
// window program, ending at the first paint of the window.
#include <QApplication>

#include "app/window_program.h"
#include "common/program_dir.h"
#include "quit_when_shown.h"
#include "ui/application.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    qinghe::ui::setUpApplication(application);
    qinghe::app::WindowProgram program(qinghe::programDir());
    QuitWhenShown quit(program.form());
    program.start();
    return QApplication::exec();
}
