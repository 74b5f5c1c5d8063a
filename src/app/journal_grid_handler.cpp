#include "app/journal_grid_handler.h"

#include <memory>

#include "app/app_context.h"
#include "app/journal_support.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "journal/journal_grid.h"
#include "ui/grid/grid.h"

namespace qinghe::app {
namespace {

using namespace literals;

// The journal's rows as the body of the grid (grid row r is record r - 1).
class JournalGridContents final : public ui::GridContents {
  public:
    explicit JournalGridContents(journal::JournalRows rows) : rows_(std::move(rows)) {}
    int rowCount() const override { return static_cast<int>(rows_.size()); }
    std::string cellText(int row, int column) const override {
        return journal::gridCellText(rows_, static_cast<std::size_t>(row - 1), column);
    }
    bool isHighlighted(int row, int column) const override {
        return (journal::gridHighlights(rows_, static_cast<std::size_t>(row - 1)) >> column & 1) !=
               0;
    }

  private:
    journal::JournalRows rows_;
};

}  // namespace

void fillJournalGrid(AppContext& app) {
    ui::Grid& grid = *app.form.高级表格1;
    grid.setColumnWidth(0, journal::kDateColumnWidth);
    const auto columns = journal::gridColumns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        grid.setCellText(0, static_cast<int>(c), columns[c].header);
    }
    journal::JournalRows rows;
    journal::StoreError error;
    if (!journal::readJournalRows(journalAccess(app), rows, error)) {
        grid.setRowCount(1);  // older rows would look current
        showJournalFailure(app, "表格刷新"_gbk, error);
        return;
    }
    constexpr int grey = journal::kHighlightGrey;
    grid.setContents(std::make_shared<JournalGridContents>(std::move(rows)),
                     QColor(grey, grey, grey));
}

}  // namespace qinghe::app
