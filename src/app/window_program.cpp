#include "app/window_program.h"

#include <QCoreApplication>

#include "app/bindings.h"
#include "common/clock.h"

namespace qinghe::app {

WindowProgram::WindowProgram(ProgramDir dir, ui::Prompts& prompts)
    : form_(systemClock().now()),
      fatalErrorBox_(prompts),
      context_{.form = form_,
               .prompts = prompts,
               .clock = systemClock(),
               .dir = std::move(dir),
               .links = links_} {
    bindEvents(context_);
    QObject::connect(&form_, &MainForm::destroying, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
}

void WindowProgram::start() {
    form_.start();
}

}  // namespace qinghe::app
