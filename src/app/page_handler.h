// The page control's page-changed event. The page "加班明细" refills the
// journal grid each time it becomes current, the page "月历" its calendar or
// chart (calendar_page_handler.h); the page "使用说明" writes the
// tips and sayings onto 画板1 (ui/sayings_panel.h), waiting with
// delayWithEvents so that the window goes on working meanwhile. The other
// two pages do none of these.
//
// A page change during one of those waits runs this handler again, nested:
// opening "使用说明" again draws a whole second animation before the first
// one goes on from where the second left the write position. When the
// window closes during a wait, the animation stops at once and touches the
// window no more, so that the program ends promptly.
//
// What has been written stays on the panel while the page is hidden and
// shows again when the user comes back to it.
#pragma once

namespace qinghe::app {

struct AppContext;

void pageChanged(AppContext& app);

}  // namespace qinghe::app
