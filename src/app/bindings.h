// Which operation each control event runs: every binding of the window, in
// one place, in the order of the window's controls.
#pragma once

namespace qinghe::app {

struct AppContext;

// Connects the form's events and its controls' events to their handlers: the
// controls of a page made later (main_form.h) once they are made. `app` must
// outlive the form's controls.
void bindEvents(AppContext& app);

}  // namespace qinghe::app
