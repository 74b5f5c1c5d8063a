// Everything a handler may touch: the window's controls, the modal boxes,
// the clock, the program's directory and the values that live from start-up
// to the end of the run. Handlers are free functions taking this context;
// tests build one over scripted prompts, a fixed clock and a temporary
// directory.
#pragma once

#include <string>

#include "common/clock.h"
#include "common/datetime.h"
#include "common/program_dir.h"

namespace qinghe::ui {
class Prompts;
}

namespace qinghe::app {

class MainForm;

struct AppContext {
    MainForm& form;
    ui::Prompts& prompts;
    Clock& clock;
    ProgramDir dir;
    std::string password;         // the journal password typed at start-up (GBK)
    std::string pickedMonthText;  // month of the date picker as decimal text
    DateTime startupTime = 0.0;
};

}  // namespace qinghe::app
