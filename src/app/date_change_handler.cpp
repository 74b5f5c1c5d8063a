#include "app/date_change_handler.h"

#include <QCheckBox>
#include <string>

#include "app/app_context.h"
#include "app/input_helpers.h"
#include "app/main_form.h"
#include "app/rules_choice.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/transparent_label.h"
#include "wages/date_change.h"

namespace qinghe::app {
namespace {

void applyPreset(MainForm& form, const wages::DayEntryPreset& preset) {
    using Choice = wages::DayEntryPreset::Choice;
    if (preset.choice == Choice::OvertimeG1) chooseDayKind(form, form.单选框加班1);
    if (preset.choice == Choice::OvertimeG2) chooseDayKind(form, form.单选框加班2);
    if (preset.choice == Choice::OvertimeG3) chooseDayKind(form, form.单选框加班3);
    if (preset.clearNightShift) form.选择框夜班->setChecked(false);
    form.组合框->setTextGbk(preset.comboText);
}

}  // namespace

void onDateChanged(AppContext& app) {
    MainForm& form = app.form;
    const DateTime picked = form.日期框1->value();
    const wages::DayRules rules = dayRules(app);
    applyPreset(form, wages::dayEntryPreset(picked, rules));

    const std::string g1 = form.编辑框1加班小时数->textGbk();
    const std::string g2 = form.编辑框2加班小时数->textGbk();
    const std::string g3 = form.编辑框3加班小时数->textGbk();
    const wages::DateChangeCaptions c =
        wages::dateChangeCaptions(picked, app.pickedMonthText, {g1, g2, g3}, rules);
    form.标签本月G1最多小时数->setCaptionGbk(c.g1Limit);
    form.标签本月G2最多小时数->setCaptionGbk(c.g2Limit);
    form.标签本月已加班->setCaptionGbk(c.hoursDone);
    form.标签本月G3最多小时数->setCaptionGbk(c.g3Limit);
    form.标签本月最多加班小时数->setCaptionGbk(c.totalLimit);
    form.标签本月节假日->setCaptionGbk(c.holidays);
    form.标签本月放假安排->setCaptionGbk(arrangementsCaption(app, c));
}

}  // namespace qinghe::app
