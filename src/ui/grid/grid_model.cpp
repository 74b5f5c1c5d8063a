#include "ui/grid/grid_model.h"

#include <algorithm>

#include "ui/text.h"

namespace qinghe::ui {

GridModel::GridModel(int rows, int columns, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::max(rows, 1)), columns_(std::max(columns, 1)) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_ - 1;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_ - 1;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row() + 1, column = index.column() + 1;
    if (role == Qt::DisplayRole || role == Qt::EditRole) return text(row, column);
    if (role == Qt::BackgroundRole) {
        const QColor colour = background(row, column);
        if (colour.isValid()) return colour;
    }
    return {};
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    setText(index.row() + 1, index.column() + 1, value.toString());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    return orientation == Qt::Horizontal ? text(0, section + 1) : text(section + 1, 0);
}

void GridModel::setGridRows(int rows) {
    rows = std::max(rows, 1);
    if (rows < rows_) {
        beginRemoveRows({}, rows - 1, rows_ - 2);
        rows_ = rows;
        contentsRows_ = std::min(contentsRows_, rows - 1);
        forgetFrom(rows);
        endRemoveRows();
    } else if (rows > rows_) {
        beginInsertRows({}, rows_ - 1, rows - 2);
        rows_ = rows;
        endInsertRows();
    }
}

QString GridModel::text(int row, int column) const {
    if (row < 0 || column < 0 || row >= rows_ || column >= columns_) return {};
    if (auto it = texts_.find(key(row, column)); it != texts_.end()) return it->second;
    if (row >= 1 && row <= contentsRows_) return toQString(contents_->cellText(row, column));
    return {};
}

void GridModel::setText(int row, int column, const QString& text) {
    if (row < 0 || column < 0 || row >= rows_ || column >= columns_) return;
    texts_[key(row, column)] = text;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
    } else if (column == 0) {
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    } else {
        const QModelIndex at = index(row - 1, column - 1);
        emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
    }
}

QColor GridModel::background(int row, int column) const {
    if (row < 1 || column < 1 || row >= rows_ || column >= columns_) return {};
    if (auto it = backgrounds_.find(key(row, column)); it != backgrounds_.end()) return it->second;
    if (row <= contentsRows_ && contents_->isHighlighted(row, column)) return highlight_;
    return {};
}

void GridModel::setBackground(int row, int column, const QColor& colour) {
    if (row < 1 || column < 1 || row >= rows_ || column >= columns_) return;
    backgrounds_[key(row, column)] = colour;
    const QModelIndex at = index(row - 1, column - 1);
    emit dataChanged(at, at, {Qt::BackgroundRole});
}

void GridModel::setContents(std::shared_ptr<const GridContents> contents, const QColor& highlight) {
    beginResetModel();
    contents_ = std::move(contents);
    contentsRows_ = contents_ ? contents_->rowCount() : 0;
    rows_ = contentsRows_ + 1;
    highlight_ = highlight;
    forgetFrom(1);
    backgrounds_.clear();
    endResetModel();
}

void GridModel::forgetFrom(int row) {
    std::erase_if(texts_,
                  [row](const auto& cell) { return static_cast<int>(cell.first >> 32) >= row; });
    std::erase_if(backgrounds_,
                  [row](const auto& cell) { return static_cast<int>(cell.first >> 32) >= row; });
}

}  // namespace qinghe::ui
