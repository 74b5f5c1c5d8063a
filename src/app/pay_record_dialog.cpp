#include "app/pay_record_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/journal_support.h"
#include "app/main_form.h"
#include "app/pay_record_handler.h"
#include "common/gbk.h"
#include "payrecord/pay_record_text.h"
#include "ui/date_picker.h"
#include "ui/prompts.h"
#include "ui/text.h"
#include "wages/tax_law.h"

namespace qinghe::app {

using namespace literals;

namespace {

constexpr char kObjectName[] = "工资记录";
constexpr int kWidth = 820;
constexpr int kHeight = 520;

}  // namespace

PayRecordDialog::PayRecordDialog(AppContext& app, int year, QWidget* parent)
    : QDialog(parent),
      table(new QTableWidget(this)),
      settlement(new QLabel(this)),
      deleteButton(new QPushButton(QString::fromUtf8("删除"), this)),
      reenterButton(new QPushButton(QString::fromUtf8("重新记入"), this)),
      app_(app),
      year_(year) {
    setObjectName(QString::fromUtf8(kObjectName));
    setWindowTitle(QString::number(year) + QString::fromUtf8("年工资记录"));
    resize(kWidth, kHeight);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QStringList headings;
    for (const payrecord::RowColumn& c : payrecord::rowColumns()) {
        headings << QString::fromUtf8(c.heading);
    }
    table->setColumnCount(static_cast<int>(headings.size()));
    table->setHorizontalHeaderLabels(headings);
    settlement->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* close = new QPushButton(QString::fromUtf8("关闭"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(deleteButton);
    buttons->addWidget(reenterButton);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table, 1);
    layout->addLayout(buttons);
    layout->addWidget(settlement);

    connect(deleteButton, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(reenterButton, &QPushButton::clicked, this, [this] { reenterSelected(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    refresh();
}

void PayRecordDialog::refresh() {
    std::vector<payrecord::PayRow> all;
    journal::StoreError error;
    if (!payrecord::readPayRows(journalAccess(app_), all, error)) {
        showJournalFailure(app_, "读取工资记录"_gbk, error);
    }
    rows_.clear();
    for (const payrecord::PayRow& row : all) {
        if (row.year == year_) rows_.push_back(row);
    }
    table->setRowCount(static_cast<int>(rows_.size()));
    const auto columns = payrecord::rowColumns();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            auto* item = new QTableWidgetItem(ui::toQString(columns[c].text(rows_[r])));
            if (c > 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    const std::optional<wages::Settlement> settled = wages::settleYear(
        wages::incomeTaxLaw(year_, wages::kMonthsPerYear), payrecord::paidMonths(rows_, year_), 0);
    if (!settled) {
        settlement->setText(QString::number(year_) + QString::fromUtf8("年按月计税，没有年度汇算"));
        return;
    }
    QString text = QString::number(year_) + QString::fromUtf8("年度汇算：\n");
    for (const payrecord::SettlementFigure& f : payrecord::settlementFigures(*settled)) {
        text += ui::toQString(f.label) + QString::fromUtf8("：") + QString::fromStdString(f.value) +
                '\n';
    }
    settlement->setText(text.trimmed());
}

const payrecord::PayRow* PayRecordDialog::selectedRow() const {
    const int r = table->currentRow();
    if (r < 0 || r >= static_cast<int>(rows_.size()) || !table->item(r, 0)->isSelected()) {
        return nullptr;
    }
    return &rows_[static_cast<std::size_t>(r)];
}

void PayRecordDialog::deleteSelected() {
    const payrecord::PayRow* row = selectedRow();
    if (!row) return;
    const std::string question =
        "确认要删除"_gbk + payMonthName(row->year, row->month) + "的工资记录！"_gbk;
    if (app_.prompts.messageBox(question, {ui::MessageButtons::OkCancel,
                                           ui::MessageIcon::Question}) != ui::MessageResult::Ok) {
        return;
    }
    journal::StoreError error;
    if (!payrecord::deleteMonth(journalAccess(app_), row->year, row->month, error)) {
        showJournalFailure(app_, "删除工资记录"_gbk, error);
    }
    refresh();
}

void PayRecordDialog::reenterSelected() {
    const payrecord::PayRow* row = selectedRow();
    if (!row) return;
    app_.form.日期框1->setValue(makeDate(row->year, row->month, 1));
    onDateChanged(app_);
    recordPayMonth(app_);
    refresh();
}

void openPayRecordDialog(AppContext& app, int year) {
    for (QObject* old : app.form.findChildren<PayRecordDialog*>()) delete old;
    auto* dialog = new PayRecordDialog(app, year, &app.form);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowFlag(Qt::Window);
    dialog->show();
}

}  // namespace qinghe::app
