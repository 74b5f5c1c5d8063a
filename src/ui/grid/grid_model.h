// The cells of a Grid, as the Qt view asks for them: the body of the grid is
// the model (model row r, column c is grid cell (r + 1, c + 1)); the header
// row and the header column are its header data.
//
// A cell's text and background come, in this order, from what was written
// into that cell (setText, setBackground, or typed by the user), then from
// the contents given by setContents, else empty text on the normal
// background. Only written cells take memory of their own.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "ui/grid/grid_contents.h"

namespace qinghe::ui {

class GridModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    // A grid of `rows` x `columns`, the header row and column included.
    GridModel(int rows, int columns, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // In grid coordinates, headers included.
    int gridRows() const { return rows_; }
    int gridColumns() const { return columns_; }
    void setGridRows(int rows);
    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    // An invalid colour: the normal background.
    QColor background(int row, int column) const;
    void setBackground(int row, int column, const QColor& colour);
    // Replaces the body by `contents` (see Grid::setContents).
    void setContents(std::shared_ptr<const GridContents> contents, const QColor& highlight);

  private:
    static std::uint64_t key(int row, int column) {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32 |
               static_cast<std::uint32_t>(column);
    }
    // Forgets what was written into rows from `row` on.
    void forgetFrom(int row);

    int rows_;
    int columns_;
    std::shared_ptr<const GridContents> contents_;
    int contentsRows_ = 0;  // grid rows 1 to contentsRows_ show the contents
    QColor highlight_;
    std::unordered_map<std::uint64_t, QString> texts_;
    std::unordered_map<std::uint64_t, QColor> backgrounds_;
};

}  // namespace qinghe::ui
