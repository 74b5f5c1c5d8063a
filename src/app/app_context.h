// Everything a handler may touch: the window's controls, the modal boxes,
// the clock, the program's directory, the record store and the values that
// live from start-up to the end of the run. Handlers are free functions
// taking this context; tests build one over scripted prompts, a fixed clock,
// a temporary directory and, where they inject failures, a failing file
// system under their own record store.
#pragma once

#include <optional>
#include <string>

#include "common/clock.h"
#include "common/datetime.h"
#include "common/program_dir.h"
#include "journal/arrangements_file.h"
#include "recordstore/record_store.h"

namespace qinghe::ui {
class LinkOpener;
class Prompts;
}  // namespace qinghe::ui

namespace qinghe::app {

class MainForm;

struct AppContext {
    MainForm& form;
    ui::Prompts& prompts;
    Clock& clock;
    ProgramDir dir;
    ui::LinkOpener& links;  // opens the user guide in the browser
    // The record store in which the handlers open the journal and its backup,
    // and the file system under it, through which the settings file is
    // written too.
    recordstore::Registry& store = recordstore::registry();
    recordstore::FileSystem& files = recordstore::posixFileSystem();

    std::string password{};         // the journal password typed at start-up (GBK)
    std::string pickedMonthText{};  // month of the date picker as decimal text
    DateTime startupTime = 0.0;
    // Set when start-up has gone through (the password accepted, the first
    // values filled); a close requested before then saves and backs up
    // nothing.
    bool started = false;
    // The announced arrangements under 现行规则, once read (rules_handler.h).
    std::optional<journal::LoadedArrangements> announced{};
};

}  // namespace qinghe::app
