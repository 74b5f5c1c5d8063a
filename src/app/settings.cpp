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
// but cannot be read. A file too large to be a settings file is said so.
std::optional<profile::ProfileFile> load(AppContext& app, bool sayWhenTooLarge) {
    std::string bytes;
    switch (app.folder.readSettings(bytes)) {
        case datafolder::SettingsRead::Read:
            return profile::ProfileFile(bytes);
        case datafolder::SettingsRead::Missing:
            return profile::ProfileFile();
        case datafolder::SettingsRead::TooLarge:
            if (sayWhenTooLarge) {
                app.prompts.messageBox("无法读取配置项目.ini：文件超过 "_gbk +
                                           std::to_string(datafolder::kMaxSettingsBytes >> 20) +
                                           " MiB，已使用默认值"_gbk,
                                       {ui::MessageButtons::Ok, ui::MessageIcon::Error});
            }
            return std::nullopt;
        case datafolder::SettingsRead::Unreadable:
            break;
    }
    return std::nullopt;
}

// The file, changed, in place of the old one.
bool replace(AppContext& app, const profile::ProfileFile& file) {
    return app.folder.writeSettings(file.bytes());
}

}  // namespace

void importSettings(AppContext& app) {
    const profile::ProfileFile file = load(app, true).value_or(profile::ProfileFile());
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        if (row.kept != wages::KeptInSettings::Yes) continue;
        (app.form.*row.box)->setTextGbk(file.read(kSection, row.key, row.importDefault));
    }
}

bool saveSettings(AppContext& app) {
    std::optional<profile::ProfileFile> file = load(app, false);
    if (!file) return false;
    bool written = true;
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        if (row.kept != wages::KeptInSettings::Yes) continue;
        written &= file->write(kSection, row.key, (app.form.*row.box)->textGbk());
    }
    written &= file->write(kSection, kShiftKey,
                           app.form.选择框夜班->isChecked() ? kNightShift : kDayShift);
    // The tax settings, where the person has used them.
    auto writeUsed = [&](const std::string& key, const std::string& value,
                         const std::string& unused) {
        const std::string absent(1, '\0');  // no value of a settings file
        if (value == unused && file->read(kSection, key, absent) == absent) return true;
        return file->write(kSection, key, value);
    };
    for (const TaxSettingBox& row : kTaxBoxes) {
        written &= writeUsed(gbk::fromUtf8(row.key).text, (app.form.*row.box)->textGbk(), {});
    }
    written &=
        writeUsed(kLowIncomeKey, app.form.选择框上年收入不超过6万元->isChecked() ? kYes : kNo, kNo);
    return written && replace(app, *file);
}

void readShiftSetting(AppContext& app) {
    const profile::ProfileFile file = load(app, true).value_or(profile::ProfileFile());
    app.form.选择框夜班->setChecked(file.read(kSection, kShiftKey, kDayShift) == kNightShift);
}

wages::Rules readRulesSetting(AppContext& app) {
    const profile::ProfileFile file = load(app, false).value_or(profile::ProfileFile());
    return wages::rulesNamed(file.read(kSection, kRulesKey, wages::rulesName(wages::Rules::Seed)));
}

bool saveRulesSetting(AppContext& app, wages::Rules rules) {
    std::optional<profile::ProfileFile> file = load(app, false);
    return file && file->write(kSection, kRulesKey, wages::rulesName(rules)) && replace(app, *file);
}

std::span<const TaxSettingBox> taxSettingBoxes() {
    return kTaxBoxes;
}

void readTaxSettings(AppContext& app) {
    const profile::ProfileFile file = load(app, false).value_or(profile::ProfileFile());
    for (const TaxSettingBox& row : kTaxBoxes) {
        (app.form.*row.box)->setTextGbk(file.read(kSection, gbk::fromUtf8(row.key).text, {}));
    }
    app.form.选择框上年收入不超过6万元->setChecked(file.read(kSection, kLowIncomeKey, kNo) == kYes);
}

}  // namespace qinghe::app
