#include "app/wage_handler.h"

#include <QTabBar>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/main_form.h"
#include "app/pay_record_handler.h"
#include "app/rules_choice.h"
#include "common/gbk.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"
#include "ui/text.h"
#include "ui/transparent_label.h"
#include "wages/pay_form.h"
#include "wages/wage_calculation.h"

namespace qinghe::app {
namespace {

using namespace literals;

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

// The status line's words when the figures cannot be calculated: which box
// of which page is the cause -- one whose number is beyond the range of
// numbers, or 正常工作天数 at 0 -- or, when no box alone is, where to look.
std::string whyNotComputable(const MainForm& form, const wages::WageInputs& inputs) {
    const std::string cannot(wages::kNotComputableText);
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        const double value = inputs.*row.input;
        const bool noDays = row.input == &wages::WageInputs::workingDays && value == 0;
        if (std::isfinite(value) && !noDays) continue;
        const ui::PageControl& pages = *form.高级选择夹1;
        int page = 0;
        while (page + 1 < pages.pageCount() && !pages.page(page)->isAncestorOf(form.*row.box)) {
            ++page;
        }
        return cannot + "：“"_gbk + ui::toGbk(pages.headers()->tabText(page)) + "”页的“"_gbk +
               row.key + (noDays ? "”为 0"_gbk : "”超出数值范围"_gbk);
    }
    return cannot + "：数值超出范围，请检查“设置”页的“正常工作天数”和“病假工资比例”"_gbk;
}

}  // namespace

std::span<ui::TransparentLabel * MainForm::*const> wageResultLabels() {
    return kResultLabels;
}

void calculateWages(AppContext& app) {
    // The date-change routine first: pressing "结果输出" also presets the
    // day-entry choices and refreshes the month's limit and holiday labels.
    onDateChanged(app);
    if (chosenRules(app) == wages::Rules::Current) {
        showCurrentWages(app);
        return;
    }
    MainForm& form = app.form;
    // A box on a page not made yet holds its opening text.
    const wages::WageInputs inputs =
        wages::wageInputs<ui::EditBox*>([&form](const wages::PayBox<ui::EditBox*>& row) {
            const ui::EditBox* box = form.*row.box;
            return box ? box->textGbk() : std::string(row.openingText);
        });
    const auto captions = wages::wageResultCaptions(wages::calculateWages(inputs));
    for (std::size_t i = 0; i < captions.size(); ++i) {
        (form.*kResultLabels[i])->setCaptionGbk(captions[i]);
    }
    // The status line says why while the figures cannot be calculated.
    ui::TransparentLabel& status = *form.标签状态;
    const bool computable = std::ranges::none_of(captions, [](const std::string& caption) {
        return caption.find(wages::kNotComputableText) != std::string::npos;
    });
    if (!computable) {
        status.setCaptionGbk(whyNotComputable(form, inputs));
    } else if (status.captionGbk().starts_with(wages::kNotComputableText)) {
        status.setCaptionGbk({});
    }
}

}  // namespace qinghe::app
