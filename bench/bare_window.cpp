// The peer of the start-up benchmark: the least a Qt Widgets program does to
// put a window of the same size on screen with one line of Chinese text in
// the program's font (any Chinese window pays for its fonts).
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include "drawing/fonts.h"
#include "quit_at_first_paint.h"

namespace {

class OneLine final : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(qinghe::drawing::layoutFont(12));
        painter.drawText(20, 40, QStringLiteral("青禾：一名职工的工资与加班记录"));
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    OneLine window;
    window.setFixedSize(898, 748);
    QuitAtFirstPaint quit([&](const QWidget& w) { return &w == &window; });
    window.show();
    return QApplication::exec();
}
