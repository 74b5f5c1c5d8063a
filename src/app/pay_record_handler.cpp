#include "app/pay_record_handler.h"

#include <QCheckBox>
#include <vector>

#include "app/app_context.h"
#include "app/journal_support.h"
#include "app/main_form.h"
#include "app/pay_record_dialog.h"
#include "app/settings.h"
#include "app/wage_handler.h"
#include "common/gbk.h"
#include "payrecord/pay_record.h"
#include "payrecord/pay_record_text.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/prompts.h"
#include "ui/transparent_label.h"

namespace qinghe::app {
namespace {

using namespace literals;

// Why a box does not read.
std::string reasonText(wages::DecimalError error) {
    switch (error) {
        case wages::DecimalError::TooManyDecimals:
            return "最多两位小数"_gbk;
        case wages::DecimalError::Negative:
            return "不能为负数"_gbk;
        case wages::DecimalError::TooLarge:
            return "数值过大"_gbk;
        case wages::DecimalError::NotANumber:
        case wages::DecimalError::None:
            break;
    }
    return "不是有效的数字"_gbk;
}

// The boxes of the form and of the page "设置" as the current rules read
// them; the first that does not read, else nothing.
std::optional<wages::RefusedBox> readInputs(const MainForm& form, wages::CurrentWageInputs& inputs,
                                            wages::TaxSettings& settings) {
    auto textOf = [](const ui::EditBox* box) { return box->textGbk(); };
    if (auto refused = wages::currentWageInputs(form, textOf, inputs)) return refused;
    for (const TaxSettingBox& row : taxSettingBoxes()) {
        wages::Fen& amount = settings.*row.amount;
        wages::DecimalError error = wages::readBoxHundredths((form.*row.box)->textGbk(), amount);
        if (error == wages::DecimalError::None && amount < 0) error = wages::DecimalError::Negative;
        if (error != wages::DecimalError::None) {
            return wages::RefusedBox{gbk::fromUtf8(row.key).text, error};
        }
    }
    settings.lowIncome = form.选择框上年收入不超过6万元->isChecked();
    return std::nullopt;
}

// The picked month and its wages, with whether the pay record has a row of
// it already.
struct PickedMonth {
    int year = 0;
    int month = 0;
    wages::CurrentWages wages;
    bool recorded = false;
};

std::optional<PickedMonth> computePickedMonth(AppContext& app) {
    MainForm& form = app.form;
    // The current rules read the boxes and tax settings of 设置 as well.
    form.buildPage(kPageSettings);
    const CivilDate picked = dateOf(form.日期框1->value());
    PickedMonth result{picked.year, picked.month, {}, false};
    wages::CurrentWageInputs inputs;
    wages::TaxSettings settings;
    if (const auto refused = readInputs(form, inputs, settings)) {
        app.prompts.messageBox(refused->key + "："_gbk + reasonText(refused->error),
                               {ui::MessageButtons::Ok, ui::MessageIcon::Warning});
        return std::nullopt;
    }
    std::vector<payrecord::PayRow> rows;
    journal::StoreError error;
    if (!payrecord::readPayRows(journalAccess(app), rows, error)) {
        showJournalFailure(app, "读取工资记录"_gbk, error);
        return std::nullopt;
    }
    for (const payrecord::PayRow& row : rows) {
        result.recorded |= row.year == result.year && row.month == result.month;
    }
    result.wages = wages::calculateCurrentWages(inputs, result.year, result.month, settings,
                                                payrecord::paidMonths(rows, result.year));
    const auto captions = wages::currentWageResultCaptions(result.wages);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        (form.*wageResultLabels()[i])->setCaptionGbk(captions[i]);
    }
    form.标签个税累计月份->setCaptionGbk(taxBasisCaption(result.year, result.month, result.wages));
    return result;
}

}  // namespace

std::string payMonthName(int year, int month) {
    return std::to_string(year) + "年"_gbk + std::to_string(month) + "月"_gbk;
}

std::string taxBasisCaption(int year, int month, const wages::CurrentWages& wages) {
    if (!wages.computable) return {};
    if (wages::taxInForce(year, month).method == wages::TaxMethod::Monthly) {
        return "个税按当月计算"_gbk;
    }
    wages::MonthSet earlier = wages.tax.builtFrom;
    earlier.reset(static_cast<std::size_t>(month) - 1);
    std::string text = "个税按"_gbk + std::to_string(year) + "年"_gbk +
                       payrecord::monthList(wages.tax.builtFrom, "、"_gbk) + "月累计"_gbk;
    if (earlier.none()) return text + "（工资记录中没有此前的月份）"_gbk;
    return text + "（"_gbk + payrecord::monthList(earlier, "、"_gbk) + "月取自工资记录）"_gbk;
}

void showCurrentWages(AppContext& app) {
    computePickedMonth(app);
}

void recordPayMonth(AppContext& app) {
    const std::optional<PickedMonth> picked = computePickedMonth(app);
    if (!picked) return;
    const std::string month = payMonthName(picked->year, picked->month);
    if (!picked->wages.computable) {
        app.prompts.messageBox(month + "的工资无法计算，未记入工资记录"_gbk,
                               {ui::MessageButtons::Ok, ui::MessageIcon::Warning});
        return;
    }
    if (picked->recorded &&
        app.prompts.messageBox(month + "已有工资记录，替换吗？"_gbk,
                               {ui::MessageButtons::OkCancel, ui::MessageIcon::Question}) !=
            ui::MessageResult::Ok) {
        return;
    }
    const wages::CurrentWages& w = picked->wages;
    const payrecord::PayRow row{picked->year,        picked->month,    w.income,
                                w.figures.incomeTax, w.figures.netPay, wages::Rules::Current};
    journal::StoreError error;
    if (!payrecord::writeMonth(journalAccess(app), row, error)) {
        showJournalFailure(app, "记入工资记录"_gbk, error);
        return;
    }
    app.prompts.messageBox("已记入"_gbk + month + "的工资记录"_gbk,
                           {ui::MessageButtons::Ok, ui::MessageIcon::Information});
}

void showPayRecord(AppContext& app) {
    openPayRecordDialog(app, dateOf(app.form.日期框1->value()).year);
}

}  // namespace qinghe::app
