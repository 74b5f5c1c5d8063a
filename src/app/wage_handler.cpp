#include "app/wage_handler.h"

#include <array>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/main_form.h"
#include "app/pay_record_handler.h"
#include "app/rules_choice.h"
#include "ui/edit_box.h"
#include "ui/transparent_label.h"
#include "wages/pay_form.h"
#include "wages/wage_calculation.h"

namespace qinghe::app {
namespace {

constexpr std::array<ui::TransparentLabel * MainForm::*, wages::kWageResultCount> kResultLabels = {
    &MainForm::标签个人所得税代扣,  &MainForm::标签G1工资,
    &MainForm::标签G2工资,          &MainForm::标签G3工资,
    &MainForm::标签加班费总和,      &MainForm::标签事假减项,
    &MainForm::标签病假减项,        &MainForm::标签旷工减项,
    &MainForm::标签正常班时薪,      &MainForm::标签正常8小时薪资,
    &MainForm::标签正常10小时薪资,  &MainForm::标签应发工资,
    &MainForm::标签实发工资,        &MainForm::标签G1时薪,
    &MainForm::标签G2时薪,          &MainForm::标签G3时薪,
    &MainForm::标签周六日8小时薪资, &MainForm::标签周六日10小时薪资,
    &MainForm::标签节假日8小时薪资, &MainForm::标签节假日10小时薪资,
};

}  // namespace

std::span<ui::TransparentLabel * MainForm::*const> wageResultLabels() {
    return kResultLabels;
}

void calculateWages(AppContext& app) {
    // The date-change routine first: pressing "结果输出" also presets the
    // day-entry choices and refreshes the month's limit and holiday labels.
    onDateChanged(app);
    if (chosenRules(app.form) == wages::Rules::Current) {
        showCurrentWages(app);
        return;
    }
    MainForm& form = app.form;
    const wages::WageInputs inputs =
        wages::wageInputs(form, [](const ui::EditBox* box) { return box->textGbk(); });
    const auto captions = wages::wageResultCaptions(wages::calculateWages(inputs));
    for (std::size_t i = 0; i < captions.size(); ++i) {
        (form.*kResultLabels[i])->setCaptionGbk(captions[i]);
    }
}

}  // namespace qinghe::app
