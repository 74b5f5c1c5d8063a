#include "app/window_program.h"

#include <QCoreApplication>

#include "app/bindings.h"
#include "common/clock.h"

namespace qinghe::app {

WindowProgram::WindowProgram(ProgramDir dir)
    : form_(systemClock().now()), context_{form_, prompts_, systemClock(), std::move(dir), {},
                                           {},    0.0} {
    bindEvents(context_);
    QObject::connect(&form_, &MainForm::destroying, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
}

void WindowProgram::start() {
    form_.start();
}

}  // namespace qinghe::app
