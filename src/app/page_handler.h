// The page control's page-changed event: the page "加班明细" refills the
// journal grid each time it becomes current.
#pragma once

namespace qinghe::app {

struct AppContext;

void pageChanged(AppContext& app);

}  // namespace qinghe::app
