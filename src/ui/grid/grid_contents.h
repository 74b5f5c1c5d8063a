// What the body of a grid shows when its owner keeps the cells itself, in
// whatever compact form suits it: the grid asks for the text and the
// highlight of a cell only when it draws or reads that cell, so a grid of
// 100,000 rows holds no text of its own.
#pragma once

#include <string>

namespace qinghe::ui {

class GridContents {
  public:
    virtual ~GridContents() = default;
    // The rows of the body (grid rows 1 to rowCount()).
    virtual int rowCount() const = 0;
    // The GBK text of grid cell (row, column), row from 1, column from 0
    // (column 0 is the header column).
    virtual std::string cellText(int row, int column) const = 0;
    // True when cell (row, column), column from 1, has the highlight colour.
    virtual bool isHighlighted(int row, int column) const = 0;
};

}  // namespace qinghe::ui
