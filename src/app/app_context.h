// Everything a handler may touch: the window's controls, the modal boxes,
// the clock, the data folder and the values that live from start-up to the
// end of the run. Handlers are free functions taking this context; tests
// build one over scripted prompts, a fixed clock, a temporary folder and,
// where they inject failures, a failing file system under their own record
// store.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "common/clock.h"
#include "common/datetime.h"
#include "datafolder/arrangements_file.h"
#include "datafolder/data_folder.h"
#include "wages/rules.h"

class QWidget;

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
    // Where the journal, its backup and the settings file live, and how
    // they are reached: the one door to them.
    datafolder::DataFolder folder;
    ui::LinkOpener& links;  // opens the user guide in the browser

    std::string password{};         // the journal password typed at start-up (GBK)
    std::string pickedMonthText{};  // month of the date picker as decimal text
    DateTime startupTime = 0.0;
    // Set when start-up has gone through (the password accepted, the first
    // values filled); a close requested before then saves and backs up
    // nothing.
    bool started = false;
    // The controls of the settings file (the kept pay boxes, 选择框夜班)
    // that the person changed, or that an import filled, in this run:
    // shut-down saves these and no other (settings.h).
    std::set<const QWidget*> enteredControls{};
    // The rules the figures follow, which the buttons of 设置 show once that
    // page is made (rules_choice.h).
    wages::Rules rules = wages::Rules::Seed;
    // The announced arrangements under 现行规则, once read (rules_handler.h).
    std::optional<datafolder::LoadedArrangements> announced{};
};

}  // namespace qinghe::app
