#include "app/input_helpers.h"

#include "app/app_context.h"
#include "app/main_form.h"
#include "ui/choice_controls.h"

namespace qinghe::app {

std::span<ui::EditBox * MainForm::*const> boxesClearedOnEntry() {
    static ui::EditBox* MainForm::*const boxes[] = {
        &MainForm::编辑框考核岗位津贴, &MainForm::编辑框职务津贴,
        &MainForm::编辑框地区津贴,     &MainForm::编辑框技能津贴,
        &MainForm::编辑框特殊岗位津贴, &MainForm::编辑框夜班津贴,
        &MainForm::编辑框事假时数,     &MainForm::编辑框病假时数,
        &MainForm::编辑框1加班小时数,  &MainForm::编辑框2加班小时数,
        &MainForm::编辑框3加班小时数,  &MainForm::编辑框住房公积金代扣,
        &MainForm::编辑框伙食费代扣,   &MainForm::编辑框住宿费代扣,
    };
    return boxes;
}

std::span<const DayKindButton> dayKindButtons() {
    using journal::Field;
    static const DayKindButton kinds[] = {
        {&MainForm::单选框加班1, "2", Field::G1},
        {&MainForm::单选框加班2, "10", Field::G2},
        {&MainForm::单选框加班3, "10", Field::G3},
        {&MainForm::单选框事假, "8", Field::PersonalLeave},
        {&MainForm::单选框病假, "8", Field::SickLeave},
        {&MainForm::单选框旷工, "8", Field::Absence},
    };
    return kinds;
}

void chooseDayKind(MainForm& form, const ui::RadioButton* chosen) {
    for (const DayKindButton& kind : dayKindButtons()) {
        (form.*kind.button)->setChecked(form.*kind.button == chosen);
    }
}

void onDayKindClicked(AppContext& app, const DayKindButton& kind) {
    app.form.组合框->setTextGbk(kind.hours);
    chooseDayKind(app.form, app.form.*kind.button);
}

}  // namespace qinghe::app
