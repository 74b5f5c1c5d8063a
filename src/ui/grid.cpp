#include "ui/grid.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "ui/gbk_validator.h"
#include "ui/text.h"

namespace qinghe::ui {
namespace {

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

// The Qt table whose header views serve as the header row and column, with a
// label over the corner button for cell (0, 0).
class HeaderedTable final : public QTableWidget {
  public:
    explicit HeaderedTable(QWidget* parent) : QTableWidget(parent), corner_(new QLabel(this)) {
        corner_->setAlignment(Qt::AlignCenter);
        corner_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QLabel* corner() const { return corner_; }

  protected:
    void updateGeometries() override {
        QTableWidget::updateGeometries();
        const int frame = frameWidth();
        corner_->setGeometry(frame, frame, verticalHeader()->width(), horizontalHeader()->height());
        corner_->raise();
    }

  private:
    QLabel* corner_;
};

QTableWidgetItem* emptyHeaderItem() {
    return new QTableWidgetItem(QString());
}

}  // namespace

Grid::Grid(QWidget* parent) : QWidget(parent), table_(new HeaderedTable(this)) {
    table_->setItemDelegate(new GbkCellDelegate(table_));
    table_->setColumnCount(kInitialColumns - 1);
    for (int c = 0; c < kInitialColumns - 1; ++c)
        table_->setHorizontalHeaderItem(c, emptyHeaderItem());
    setRowCount(kInitialRows);

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
    table_->setStyleSheet(QStringLiteral(
        "QTableWidget { gridline-color: #C0C0C0; background-color: #FFFFFF; color: #000000;"
        " selection-background-color: #3399FF; selection-color: #FFFFFF; }"));

    // A click on a header selects its column or row and puts the cursor on
    // the first cell of the body in it.
    connect(top, &QHeaderView::sectionClicked, this, [this](int column) {
        if (table_->rowCount() == 0) return;
        const QModelIndex first = table_->model()->index(0, column);
        table_->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        table_->selectionModel()->select(
            first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Columns);
    });
    connect(side, &QHeaderView::sectionClicked, this, [this](int row) {
        if (table_->columnCount() == 0) return;
        const QModelIndex first = table_->model()->index(row, 0);
        table_->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        table_->selectionModel()->select(
            first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
}

int Grid::rowCount() const {
    return table_->rowCount() + 1;
}
int Grid::columnCount() const {
    return table_->columnCount() + 1;
}

void Grid::setRowCount(int rows) {
    const int before = table_->rowCount();
    const int body = std::max(rows, 1) - 1;
    table_->setRowCount(body);
    for (int r = before; r < body; ++r) table_->setVerticalHeaderItem(r, emptyHeaderItem());
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
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return;
    const QString text = toQString(gbk);
    if (row == 0 && column == 0) {
        static_cast<HeaderedTable*>(table_)->corner()->setText(text);
    } else if (row == 0) {
        table_->horizontalHeaderItem(column - 1)->setText(text);
    } else if (column == 0) {
        table_->verticalHeaderItem(row - 1)->setText(text);
    } else if (QTableWidgetItem* item = table_->item(row - 1, column - 1)) {
        item->setText(text);
    } else {
        table_->setItem(row - 1, column - 1, new QTableWidgetItem(text));
    }
}

std::string Grid::cellText(int row, int column) const {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return {};
    if (row == 0 && column == 0) {
        return toGbk(static_cast<HeaderedTable*>(table_)->corner()->text());
    }
    const QTableWidgetItem* item = row == 0      ? table_->horizontalHeaderItem(column - 1)
                                   : column == 0 ? table_->verticalHeaderItem(row - 1)
                                                 : table_->item(row - 1, column - 1);
    return item ? toGbk(item->text()) : std::string();
}

void Grid::setCellBackground(int firstRow, int firstColumn, int lastRow, int lastColumn,
                             const QColor& colour) {
    for (int r = std::max(firstRow, 1); r <= std::min(lastRow, rowCount() - 1); ++r) {
        for (int c = std::max(firstColumn, 1); c <= std::min(lastColumn, columnCount() - 1); ++c) {
            QTableWidgetItem* item = table_->item(r - 1, c - 1);
            if (!item) {
                item = new QTableWidgetItem;
                table_->setItem(r - 1, c - 1, item);
            }
            item->setBackground(colour);
        }
    }
}

QColor Grid::cellBackground(int row, int column) const {
    if (row < 1 || column < 1 || row >= rowCount() || column >= columnCount()) return {};
    const QTableWidgetItem* item = table_->item(row - 1, column - 1);
    if (!item || item->background().style() == Qt::NoBrush) return QColor(Qt::white);
    return item->background().color();
}

void Grid::resizeEvent(QResizeEvent*) {
    table_->setGeometry(rect());
}

}  // namespace qinghe::ui
