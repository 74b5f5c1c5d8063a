// The window program as it starts: the main window over the system clock,
// the given modal boxes (the real ones, ui/qt_prompts.h, in main()), the
// desktop's browser and the given data folder (through the process's record
// store), with every event bound. main() and the start-up benchmark build
// exactly this, after the QApplication has been set up (ui/application.h).
#pragma once

#include <string>

#include "app/app_context.h"
#include "app/fatal_error_box.h"
#include "app/main_form.h"
#include "ui/link_opener.h"

namespace qinghe::app {

class WindowProgram {
  public:
    // `dataFolder` is the folder's path (UTF-8); `prompts` must outlive the
    // program.
    WindowProgram(std::string dataFolder, ui::Prompts& prompts);

    MainForm& form() { return form_; }
    // Starts the window (its created event, then it shows); the event loop
    // ends once the window has gone, also when it never showed.
    void start();

  private:
    MainForm form_;
    FatalErrorBox fatalErrorBox_;
    ui::DesktopLinkOpener links_;
    AppContext context_;
};

}  // namespace qinghe::app
