#include "app/settings.h"

#include <QCheckBox>
#include <optional>
#include <string>

#include "app/app_context.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "common/profile_file.h"
#include "datafolder/data_folder.h"
#include "ui/edit_box.h"
#include "ui/prompts.h"
#include "wages/pay_form.h"

namespace qinghe::app {
namespace {

using namespace literals;

const std::string kSection = "工资总项目"_gbk;
const std::string kShiftKey = "夜班"_gbk;
const std::string kNightShift = "夜班"_gbk;
const std::string kDayShift = "白班"_gbk;
const std::string kRulesKey = "计算规则"_gbk;
const std::string kLowIncomeKey = "上年收入不超过6万元"_gbk;
const std::string kYes = "是"_gbk;
const std::string kNo = "否"_gbk;

constexpr TaxSettingBox kTaxBoxes[] = {
    {"专项附加扣除", &MainForm::编辑框专项附加扣除, &wages::TaxSettings::specialAdditional},
    {"其他扣除", &MainForm::编辑框其他扣除, &wages::TaxSettings::other},
};

// The file as it stands: empty when there is none, nullopt when it exists
// but cannot be read. Unless `consequence` is empty, a file that cannot be
// read is said so, with why when it is too large, and then `consequence`.
std::optional<profile::ProfileFile> load(AppContext& app, std::string_view consequence) {
    std::string bytes;
    std::string why;
    switch (app.folder.readSettings(bytes)) {
        case datafolder::SettingsRead::Read:
            return profile::ProfileFile(bytes);
        case datafolder::SettingsRead::Missing:
            return profile::ProfileFile();
        case datafolder::SettingsRead::TooLarge:
            why = "：文件超过 "_gbk + std::to_string(datafolder::kMaxSettingsBytes >> 20) +
                  " MiB"_gbk;
            break;
        case datafolder::SettingsRead::Unreadable:
            break;
    }
    if (!consequence.empty()) {
        app.prompts.messageBox(
            "无法读取配置项目.ini"_gbk + why + "，"_gbk + std::string(consequence),
            {ui::MessageButtons::Ok, ui::MessageIcon::Error});
    }
    return std::nullopt;
}

// The file, changed, in place of the old one.
bool replace(AppContext& app, const profile::ProfileFile& file) {
    return app.folder.writeSettings(file.bytes());
}

}  // namespace

void importSettings(AppContext& app) {
    const std::optional<profile::ProfileFile> file = load(app, "没有导入任何数据"_gbk);
    if (!file) return;
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        if (row.kept != wages::KeptInSettings::Yes) continue;
        ui::EditBox* box = app.form.*row.box;
        box->setTextGbk(file->read(kSection, row.key, row.importDefault));
        app.enteredControls.insert(box);
    }
}

bool saveSettings(AppContext& app) {
    const auto entered = [&app](const QWidget* control) {
        return app.enteredControls.contains(control);
    };
    if (app.enteredControls.empty()) return true;
    std::optional<profile::ProfileFile> file = load(app, {});
    if (!file) return false;
    bool written = true;
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        const ui::EditBox* box = app.form.*row.box;
        if (row.kept == wages::KeptInSettings::Yes && entered(box)) {
            written &= file->write(kSection, row.key, box->textGbk());
        }
    }
    if (entered(app.form.选择框夜班)) {
        written &= file->write(kSection, kShiftKey,
                               app.form.选择框夜班->isChecked() ? kNightShift : kDayShift);
    }
    for (const TaxSettingBox& row : kTaxBoxes) {
        const ui::EditBox* box = app.form.*row.box;
        if (entered(box))
            written &= file->write(kSection, gbk::fromUtf8(row.key).text, box->textGbk());
    }
    if (entered(app.form.选择框上年收入不超过6万元)) {
        written &= file->write(kSection, kLowIncomeKey,
                               app.form.选择框上年收入不超过6万元->isChecked() ? kYes : kNo);
    }
    return written && replace(app, *file);
}

void readShiftSetting(AppContext& app) {
    const profile::ProfileFile file =
        load(app, "已使用默认值"_gbk).value_or(profile::ProfileFile());
    app.form.选择框夜班->setChecked(file.read(kSection, kShiftKey, kDayShift) == kNightShift);
}

wages::Rules readRulesSetting(AppContext& app) {
    const profile::ProfileFile file = load(app, {}).value_or(profile::ProfileFile());
    return wages::rulesNamed(file.read(kSection, kRulesKey, wages::rulesName(wages::Rules::Seed)));
}

bool saveRulesSetting(AppContext& app, wages::Rules rules) {
    std::optional<profile::ProfileFile> file = load(app, {});
    return file && file->write(kSection, kRulesKey, wages::rulesName(rules)) && replace(app, *file);
}

std::span<const TaxSettingBox> taxSettingBoxes() {
    return kTaxBoxes;
}

void readTaxSettings(AppContext& app) {
    if (!app.form.isPageBuilt(kPageSettings)) return;
    const profile::ProfileFile file = load(app, {}).value_or(profile::ProfileFile());
    for (const TaxSettingBox& row : kTaxBoxes) {
        (app.form.*row.box)->setTextGbk(file.read(kSection, gbk::fromUtf8(row.key).text, {}));
    }
    app.form.选择框上年收入不超过6万元->setChecked(file.read(kSection, kLowIncomeKey, kNo) == kYes);
}

}  // namespace qinghe::app
