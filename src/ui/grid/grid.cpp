#include "ui/grid/grid.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>

#include "ui/control_style.h"
#include "ui/gbk_validator.h"
#include "ui/grid/grid_model.h"
#include "ui/text.h"

namespace qinghe::ui {
namespace {

const QColor kSelectionColour(0x33, 0x99, 0xFF);

// Cell editors refuse characters without a GBK form.
class GbkCellDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setValidator(new GbkValidator(line));
        }
        return editor;
    }
};

// The Qt view whose header views serve as the header row and column, with a
// label over the corner button for cell (0, 0).
class HeaderedTable final : public QTableView {
  public:
    explicit HeaderedTable(QWidget* parent) : QTableView(parent), corner_(new QLabel(this)) {
        corner_->setAlignment(Qt::AlignCenter);
        corner_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QLabel* corner() const { return corner_; }

  protected:
    void updateGeometries() override {
        QTableView::updateGeometries();
        const int frame = frameWidth();
        corner_->setGeometry(frame, frame, verticalHeader()->width(), horizontalHeader()->height());
        corner_->raise();
    }

  private:
    QLabel* corner_;
};

}  // namespace

Grid::Grid(QWidget* parent)
    : QWidget(parent),
      model_(new GridModel(kInitialRows, kInitialColumns, this)),
      table_(new HeaderedTable(this)) {
    table_->setModel(model_);
    table_->setItemDelegate(new GbkCellDelegate(table_));

    QHeaderView* top = table_->horizontalHeader();
    QHeaderView* side = table_->verticalHeader();
    top->setFixedHeight(kRowHeight);
    top->setDefaultSectionSize(kColumnWidth);
    top->setSectionResizeMode(QHeaderView::Interactive);
    top->setHighlightSections(false);
    side->setDefaultSectionSize(kRowHeight);
    side->setMinimumSectionSize(1);
    side->setSectionResizeMode(QHeaderView::Interactive);
    side->setFixedWidth(kColumnWidth);
    side->setDefaultAlignment(Qt::AlignCenter);
    side->setHighlightSections(false);

    table_->setCornerButtonEnabled(false);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->setShowGrid(true);
    table_->setStyle(controlStyle());
    QPalette colours = table_->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Base, Qt::white);
        colours.setColor(group, QPalette::Text, Qt::black);
        colours.setColor(group, QPalette::Highlight, kSelectionColour);
        colours.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    table_->setPalette(colours);

    // A click on a header selects its column or row and puts the cursor on
    // the first cell of the body in it.
    connect(top, &QHeaderView::sectionClicked, this, [this](int column) {
        if (model_->rowCount() == 0) return;
        const QModelIndex first = model_->index(0, column);
        table_->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        table_->selectionModel()->select(
            first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Columns);
    });
    connect(side, &QHeaderView::sectionClicked, this, [this](int row) {
        if (model_->columnCount() == 0) return;
        const QModelIndex first = model_->index(row, 0);
        table_->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        table_->selectionModel()->select(
            first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
}

int Grid::rowCount() const {
    return model_->gridRows();
}
int Grid::columnCount() const {
    return model_->gridColumns();
}

void Grid::setRowCount(int rows) {
    model_->setGridRows(rows);
}

void Grid::setColumnWidth(int column, int pixels) {
    if (column == 0) {
        table_->verticalHeader()->setFixedWidth(pixels);
    } else if (column < columnCount()) {
        table_->setColumnWidth(column - 1, pixels);
    }
}

int Grid::columnWidth(int column) const {
    return column == 0 ? table_->verticalHeader()->width() : table_->columnWidth(column - 1);
}

void Grid::setCellText(int row, int column, std::string_view gbk) {
    if (row == 0 && column == 0) {
        static_cast<HeaderedTable*>(table_)->corner()->setText(toQString(gbk));
    } else {
        model_->setText(row, column, toQString(gbk));
    }
}

std::string Grid::cellText(int row, int column) const {
    if (row == 0 && column == 0) {
        return toGbk(static_cast<HeaderedTable*>(table_)->corner()->text());
    }
    return toGbk(model_->text(row, column));
}

void Grid::setCellBackground(int firstRow, int firstColumn, int lastRow, int lastColumn,
                             const QColor& colour) {
    for (int r = std::max(firstRow, 1); r <= std::min(lastRow, rowCount() - 1); ++r) {
        for (int c = std::max(firstColumn, 1); c <= std::min(lastColumn, columnCount() - 1); ++c) {
            model_->setBackground(r, c, colour);
        }
    }
}

QColor Grid::cellBackground(int row, int column) const {
    if (row < 1 || column < 1 || row >= rowCount() || column >= columnCount()) return {};
    const QColor colour = model_->background(row, column);
    return colour.isValid() ? colour : QColor(Qt::white);
}

void Grid::setContents(std::shared_ptr<const GridContents> contents, const QColor& highlight) {
    model_->setContents(std::move(contents), highlight);
}

void Grid::resizeEvent(QResizeEvent*) {
    table_->setGeometry(rect());
}

}  // namespace qinghe::ui
