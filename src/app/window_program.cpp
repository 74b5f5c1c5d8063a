#include "app/window_program.h"

#include <QApplication>

#include "app/bindings.h"
#include "common/clock.h"

namespace qinghe::app {
WindowProgram::WindowProgram()
    : form_(systemClock().now()),
      context_{form_,
               prompts_,
               systemClock(),
               ProgramDir{QApplication::applicationDirPath().toStdString()},
               {},
               {},
               0.0} {
    bindEvents(context_);
}

void WindowProgram::show() {
    form_.centreOnScreen();
    form_.show();
}

}  // namespace qinghe::app
