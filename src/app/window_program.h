// The window program as it starts: the main window over the system clock,
// the real modal boxes and the given program directory, with every event
// bound. main() and the start-up benchmark build exactly this, after the
// QApplication and its Chinese translations.
#pragma once

#include <memory>

#include "app/app_context.h"
#include "app/fatal_error_box.h"
#include "app/main_form.h"
#include "ui/qt_prompts.h"

namespace qinghe::app {

class WindowProgram {
  public:
    explicit WindowProgram(ProgramDir dir);

    MainForm& form() { return form_; }
    // Centres the window and shows it.
    void show();

  private:
    MainForm form_;
    ui::QtPrompts prompts_;
    FatalErrorBox fatalErrorBox_{prompts_};
    AppContext context_;
};

}  // namespace qinghe::app
