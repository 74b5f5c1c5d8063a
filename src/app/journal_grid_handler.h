// "表格刷新", and the page "加班明细" becoming current: the grid rebuilt from
// the journal (journal/journal_grid.h): the date column 100 pixels wide, the
// ten headers in row 0, one row per record in file order, and the cells of
// hours above 0 and of remarks on grey, every other cell on the normal
// background. The grid keeps the rows compactly and makes a cell's text only
// when it is drawn or read. A journal that cannot be read gets the record
// store's reason, and the grid shows the header row alone.
#pragma once

namespace qinghe::app {

struct AppContext;

void fillJournalGrid(AppContext& app);

}  // namespace qinghe::app
