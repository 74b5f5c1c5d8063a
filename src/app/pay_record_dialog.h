// The view of a year's pay record, opened by "工资记录": a dialog titled
// "2025年工资记录" over the window, which stays usable meanwhile.
//
// A table of the year's months (the columns of payrecord::rowColumns), and
// below it the year's settlement (payrecord::settlementFigures, one
// "名称：数值" line each), or "2018年按月计税，没有年度汇算" for a year before
// 2019. "删除" deletes the selected month's row after
// "确认要删除2025年3月的工资记录！" is answered OK; "重新记入" picks that month
// in 日期框1 and runs "记入工资记录" on it (pay_record_handler.h), which asks
// before replacing. Both read the record again afterwards; a failure is said
// as the journal's are ("删除工资记录失败：…").
#pragma once

#include <QDialog>
#include <vector>

#include "payrecord/pay_record.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace qinghe::app {

struct AppContext;

class PayRecordDialog final : public QDialog {
    Q_OBJECT

  public:
    PayRecordDialog(AppContext& app, int year, QWidget* parent);

    // Reads the record again into the table and the settlement.
    void refresh();

    QTableWidget* const table;
    QLabel* const settlement;
    QPushButton* const deleteButton;
    QPushButton* const reenterButton;

  private:
    // The selected month's row, or null.
    const payrecord::PayRow* selectedRow() const;
    void deleteSelected();
    void reenterSelected();

    AppContext& app_;
    int year_;
    std::vector<payrecord::PayRow> rows_;  // the year's, in the table's order
};

// Opens the view of `year` (a new one in place of any still open).
void openPayRecordDialog(AppContext& app, int year);

}  // namespace qinghe::app
