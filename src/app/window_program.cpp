#include "app/window_program.h"

#include <QCoreApplication>

#include "app/bindings.h"
#include "common/clock.h"

namespace qinghe::app {

WindowProgram::WindowProgram(std::string dataFolder, ui::Prompts& prompts)
    : form_(systemClock().now()),
      fatalErrorBox_(prompts),
      context_{.form = form_,
               .prompts = prompts,
               .clock = systemClock(),
               .folder = datafolder::DataFolder(std::move(dataFolder)),
               .links = links_} {
    bindEvents(context_);
    QObject::connect(&form_, &MainForm::destroying, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
}

void WindowProgram::start() {
    form_.start();
}

}  // namespace qinghe::app
