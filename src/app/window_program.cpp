#include "app/window_program.h"

#include "app/bindings.h"
#include "common/clock.h"

namespace qinghe::app {

WindowProgram::WindowProgram(ProgramDir dir)
    : form_(systemClock().now()), context_{form_, prompts_, systemClock(), std::move(dir), {},
                                           {},    0.0} {
    bindEvents(context_);
}

void WindowProgram::show() {
    form_.centreOnScreen();
    form_.show();
}

}  // namespace qinghe::app
