// The peer of the start-up benchmark: the least a Qt Widgets program does to
// put a window of the same size on screen.
#include <QApplication>
#include <QWidget>

#include "quit_when_shown.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(898, 748);
    QuitWhenShown quit(window);
    window.show();
    return QApplication::exec();
}
