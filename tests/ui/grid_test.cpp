#include "ui/grid/grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "common/gbk.h"

namespace qinghe::ui {
namespace {

using namespace literals;

TEST(Grid, StartsWithFiveRowsAndTenColumnsHeadersIncluded) {
    Grid grid(nullptr);
    EXPECT_EQ(grid.rowCount(), 5);
    EXPECT_EQ(grid.columnCount(), 10);
    EXPECT_EQ(grid.columnWidth(3), 60);
    EXPECT_EQ(grid.table()->verticalHeader()->defaultSectionSize(), 24);
    EXPECT_EQ(grid.cellText(0, 5), "");  // no numbers in the headers
    EXPECT_EQ(grid.cellText(4, 0), "");
}

TEST(Grid, CellsAreAddressedWithTheHeadersFromZero) {
    Grid grid(nullptr);
    grid.setCellText(0, 0, "日期"_gbk);
    grid.setCellText(0, 1, "G1时数"_gbk);
    grid.setCellText(1, 0, "2013年5月6日"_gbk);
    grid.setCellText(1, 5, "8");
    grid.setCellText(2, 6, "休息"_gbk);
    EXPECT_EQ(grid.cellText(0, 0), "日期"_gbk);
    EXPECT_EQ(grid.cellText(0, 1), "G1时数"_gbk);
    EXPECT_EQ(grid.cellText(1, 0), "2013年5月6日"_gbk);
    EXPECT_EQ(grid.cellText(1, 5), "8");
    EXPECT_EQ(grid.cellText(2, 6), "休息"_gbk);
    EXPECT_EQ(grid.table()->model()->index(0, 4).data().toString(), QStringLiteral("8"));
    // Outside the grid: ignored, and empty when read.
    grid.setCellText(9, 1, "x");
    grid.setCellText(1, 10, "x");
    EXPECT_EQ(grid.cellText(9, 1), "");
    EXPECT_EQ(grid.cellText(-1, 0), "");
}

TEST(Grid, SettingTheRowCountRemovesRowsBeyondAndAddsEmptyOnes) {
    Grid grid(nullptr);
    grid.setCellText(4, 0, "old");
    grid.setCellText(4, 3, "7");
    grid.setRowCount(2);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cellText(4, 3), "");
    grid.setRowCount(6);
    EXPECT_EQ(grid.rowCount(), 6);
    EXPECT_EQ(grid.cellText(4, 0), "");
    EXPECT_EQ(grid.cellText(4, 3), "");
    grid.setRowCount(1);  // an empty journal: the header row alone
    EXPECT_EQ(grid.rowCount(), 1);
    grid.setRowCount(0);
    EXPECT_EQ(grid.rowCount(), 1);
}

TEST(Grid, WidthsAndBackgrounds) {
    Grid grid(nullptr);
    grid.setColumnWidth(0, 100);
    grid.setColumnWidth(2, 80);
    EXPECT_EQ(grid.columnWidth(0), 100);
    EXPECT_EQ(grid.columnWidth(2), 80);
    const QColor grey(192, 192, 192);
    grid.setCellBackground(1, 5, 1, 5, grey);
    EXPECT_EQ(grid.cellBackground(1, 5), grey);
    EXPECT_EQ(grid.cellBackground(1, 4), QColor(Qt::white));
    grid.setCellText(1, 5, "8");  // writing the text keeps the background
    EXPECT_EQ(grid.cellBackground(1, 5), grey);
    grid.setCellBackground(2, 1, 3, 2, grey);
    EXPECT_EQ(grid.cellBackground(3, 2), grey);
}

TEST(Grid, AClickOnAHeaderSelectsItsColumnOrRow) {
    Grid grid(nullptr);
    grid.resize(832, 696);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QHeaderView* top = grid.table()->horizontalHeader();
    QTest::mouseClick(top->viewport(), Qt::LeftButton, {},
                      QPoint(top->sectionViewportPosition(2) + 5, 5));
    EXPECT_EQ(grid.table()->currentIndex().row(), 0);  // grid row 1: the first cell
    EXPECT_EQ(grid.table()->currentIndex().column(), 2);
    EXPECT_TRUE(grid.table()->selectionModel()->isColumnSelected(2, {}));

    QHeaderView* side = grid.table()->verticalHeader();
    QTest::mouseClick(side->viewport(), Qt::LeftButton, {},
                      QPoint(5, side->sectionViewportPosition(3) + 5));
    EXPECT_EQ(grid.table()->currentIndex().row(), 3);
    EXPECT_EQ(grid.table()->currentIndex().column(), 0);
    EXPECT_TRUE(grid.table()->selectionModel()->isRowSelected(3, {}));
}

TEST(Grid, CellsAreEditableByTyping) {
    Grid grid(nullptr);
    grid.resize(832, 696);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.table()->setCurrentIndex(grid.table()->model()->index(0, 0));
    QTest::keyClick(grid.table(), Qt::Key_1);  // typing starts the editor
    auto* editor = grid.table()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("2"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor commits through the event queue
    EXPECT_EQ(grid.cellText(1, 1), "12");
}

// A body kept by its owner: row r shows "r:c" in column c, and the cells
// where r + c is even are highlighted.
class Checkerboard final : public GridContents {
  public:
    explicit Checkerboard(int rows) : rows_(rows) {}
    int rowCount() const override { return rows_; }
    std::string cellText(int row, int column) const override {
        return std::to_string(row) + ":" + std::to_string(column);
    }
    bool isHighlighted(int row, int column) const override { return (row + column) % 2 == 0; }

  private:
    int rows_;
};

TEST(Grid, ContentsReplaceTheBodyWithTheirTextsAndHighlights) {
    Grid grid(nullptr);
    const QColor grey(192, 192, 192), red(Qt::red);
    grid.setCellText(0, 1, "G1时数"_gbk);
    grid.setCellText(3, 2, "old");
    grid.setCellBackground(3, 3, 3, 3, red);

    grid.setContents(std::make_shared<Checkerboard>(100000), grey);
    EXPECT_EQ(grid.rowCount(), 100001);
    EXPECT_EQ(grid.cellText(0, 1), "G1时数"_gbk);  // the headers stay
    EXPECT_EQ(grid.cellText(3, 2), "3:2");
    EXPECT_EQ(grid.cellText(100000, 0), "100000:0");
    EXPECT_EQ(grid.table()->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("3:0"));
    EXPECT_EQ(grid.cellBackground(3, 3), grey);  // the red of before is gone
    EXPECT_EQ(grid.cellBackground(3, 2), QColor(Qt::white));

    // Cells written afterwards, or typed, lie over the contents.
    grid.setCellText(2, 4, "x");
    grid.table()->model()->setData(grid.table()->model()->index(1, 5), QStringLiteral("y"));
    grid.setCellBackground(2, 2, 2, 2, red);
    EXPECT_EQ(grid.cellText(2, 4), "x");
    EXPECT_EQ(grid.cellText(2, 6), "y");
    EXPECT_EQ(grid.cellBackground(2, 2), red);

    // Rows removed and added again are empty.
    grid.setRowCount(3);
    grid.setRowCount(5);
    EXPECT_EQ(grid.cellText(2, 1), "2:1");
    EXPECT_EQ(grid.cellText(4, 1), "");
    EXPECT_EQ(grid.cellBackground(4, 2), QColor(Qt::white));

    grid.setContents(std::make_shared<Checkerboard>(0), grey);
    EXPECT_EQ(grid.rowCount(), 1);
}

}  // namespace
}  // namespace qinghe::ui
