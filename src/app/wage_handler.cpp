#include "app/wage_handler.h"

#include <array>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/main_form.h"
#include "ui/edit_box.h"
#include "ui/transparent_label.h"
#include "wages/conversions.h"
#include "wages/wage_calculation.h"

namespace qinghe::app {
namespace {

struct InputBox {
    ui::EditBox* MainForm::*box;
    double wages::WageInputs::*input;
};

constexpr InputBox kInputBoxes[] = {
    {&MainForm::编辑框正常工作时间工资, &wages::WageInputs::basePay},
    {&MainForm::编辑框考核岗位津贴, &wages::WageInputs::postAllowance},
    {&MainForm::编辑框职务津贴, &wages::WageInputs::positionAllowance},
    {&MainForm::编辑框地区津贴, &wages::WageInputs::regionalAllowance},
    {&MainForm::编辑框正常工作天数, &wages::WageInputs::workingDays},
    {&MainForm::编辑框1加班小时数, &wages::WageInputs::g1Hours},
    {&MainForm::编辑框2加班小时数, &wages::WageInputs::g2Hours},
    {&MainForm::编辑框3加班小时数, &wages::WageInputs::g3Hours},
    {&MainForm::编辑框事假时数, &wages::WageInputs::personalLeaveHours},
    {&MainForm::编辑框病假时数, &wages::WageInputs::sickLeaveHours},
    {&MainForm::编辑框病假工资比例, &wages::WageInputs::sickPayRatio},
    {&MainForm::编辑框旷工时数, &wages::WageInputs::absenceHours},
    {&MainForm::编辑框夜班津贴, &wages::WageInputs::nightShiftAllowance},
    {&MainForm::编辑框特殊岗位津贴, &wages::WageInputs::specialPostAllowance},
    {&MainForm::编辑框技能津贴, &wages::WageInputs::skillAllowance},
    {&MainForm::编辑框住房公积金代扣, &wages::WageInputs::housingFund},
    {&MainForm::编辑框社保代扣, &wages::WageInputs::socialInsurance},
    {&MainForm::编辑框伙食费代扣, &wages::WageInputs::meals},
    {&MainForm::编辑框住宿费代扣, &wages::WageInputs::lodging},
    {&MainForm::编辑框其它减项, &wages::WageInputs::otherDeductions},
    {&MainForm::编辑框其它加项, &wages::WageInputs::otherAdditions},
};

// In the order of wages::wageResultCaptions.
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

void calculateWages(AppContext& app) {
    // The date-change routine first: pressing "结果输出" also presets the
    // day-entry choices and refreshes the month's limit and holiday labels.
    onDateChanged(app);
    MainForm& form = app.form;
    wages::WageInputs inputs;
    for (const InputBox& b : kInputBoxes) {
        inputs.*b.input = wages::textToNumber((form.*b.box)->textGbk());
    }
    const auto captions = wages::wageResultCaptions(wages::calculateWages(inputs));
    for (std::size_t i = 0; i < captions.size(); ++i) {
        (form.*kResultLabels[i])->setCaptionGbk(captions[i]);
    }
}

}  // namespace qinghe::app
