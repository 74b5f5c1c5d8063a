// A grid of text cells with one header row and one header column.
//
// Cells are addressed by row and column from 0, headers included: row 0 is
// the header row and column 0 the header column, both drawn as headers that
// stay in place when the grid scrolls; cell (0, 0) is the corner. Texts are
// GBK. A cell outside the grid is ignored when written and reads as empty.
//
// As the window lays it out: silver grid lines (#C0C0C0), white background,
// black text, rows 24 and columns 60 pixels, 5 rows and 10 columns; cells
// editable by the user (double click, F2 or typing), row heights and column
// widths adjustable by dragging the header lines; one cell selected at a
// time (no block selection), selection background #3399FF; a click on a
// header selects its row or column and puts the cursor on its first cell;
// Enter has no special function; zero values show as written.
//
// The cells live in a model that holds only what was written into it cell by
// cell; a whole body given by setContents stays with its owner, so the grid
// of a long journal costs little memory of its own.
#pragma once

#include <QColor>
#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "ui/grid/grid_contents.h"

class QTableView;

namespace qinghe::ui {

class GridModel;

class Grid final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kInitialRows = 5;
    static constexpr int kInitialColumns = 10;
    static constexpr int kRowHeight = 24;
    static constexpr int kColumnWidth = 60;

    explicit Grid(QWidget* parent);

    // Rows and columns, the header row and column included.
    int rowCount() const;
    int columnCount() const;
    // Rows beyond `rows` are removed; new rows are empty. At least the
    // header row stays.
    void setRowCount(int rows);
    void setColumnWidth(int column, int pixels);
    int columnWidth(int column) const;

    void setCellText(int row, int column, std::string_view gbk);
    std::string cellText(int row, int column) const;

    // The background of cells firstRow..lastRow x firstColumn..lastColumn
    // (inclusive) of the body; header cells keep the header look.
    void setCellBackground(int firstRow, int firstColumn, int lastRow, int lastColumn,
                           const QColor& colour);
    QColor cellBackground(int row, int column) const;

    // Replaces the body (rows 1 on) by `contents`: the row count becomes
    // contents->rowCount() + 1; each body cell shows the contents' text, on
    // the highlight colour where the contents say so and on the normal
    // background everywhere else. What was written into body cells before is
    // forgotten; the header row and the column widths stay.
    void setContents(std::shared_ptr<const GridContents> contents, const QColor& highlight);

    // The Qt view behind the grid, for driving it in tests.
    QTableView* table() const { return table_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    GridModel* model_;
    QTableView* table_;
};

}  // namespace qinghe::ui
