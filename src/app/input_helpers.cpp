#include "app/input_helpers.h"

#include "app/app_context.h"
#include "app/main_form.h"
#include "ui/choice_controls.h"

namespace qinghe::app {

std::span<ui::EditBox * MainForm::*const> boxesSelectedOnEntry() {
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

void chooseDayKind(MainForm& form, const ui::RadioButton* chosen) {
    for (const DayKindButton& kind : journal::dayKinds<ui::RadioButton*>()) {
        (form.*kind.button)->setChecked(form.*kind.button == chosen);
    }
}

void onDayKindClicked(AppContext& app, const DayKindButton& kind) {
    app.form.组合框->setTextGbk(kind.presetHours);
    chooseDayKind(app.form, app.form.*kind.button);
}

}  // namespace qinghe::app
