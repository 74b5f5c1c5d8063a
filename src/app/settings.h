// The settings file 配置项目.ini in the data folder: the pay form's
// last inputs from one run to the next.
//
// One section, "工资总项目", nineteen keys: the eighteen kept pay boxes in the
// order of the pay-box table (wages::payBoxes, keys "正常工作时间工资" ...
// "其它加项", each holding its box's text exactly as the box held it), then
// "夜班", which holds "夜班" when 选择框夜班 is checked and "白班" when not.
// Beside them, the tax settings of 现行规则 on the page "设置", saved at
// shut-down and read at start-up: "专项附加扣除" and "其他扣除", each its box's
// text as the box held it (yuan a month; missing: empty), and
// "上年收入不超过6万元", "是" when its check box is checked and "否" when not.
// A save writes such a key only when the person changed its box or check box
// in that run (as for the pay form's boxes), so a file of a person who never
// used them stays as it was. And the choice of rules (wages/rules.h) under the key "计算规则",
// "原版规则" or "现行规则": written when the person changes it, read at
// start-up; a missing key or any other value reads as 原版规则.
// GBK; hand-edited files are read by the profile-file rules
// (common/profile_file.h), and a save keeps whatever else the file holds.
//
// The file is the data folder's (datafolder/data_folder.h): found without
// regard to the letter case of its name, replaced whole by a save (a crash or
// a full disk leaves the old file or the new one, never a mix or an empty
// file; its mode and its link are kept). A file that exists but cannot be
// read is not overwritten (its other keys would be lost), and is said so
// (error icon): "无法读取配置项目.ini，已使用默认值" at start-up,
// "无法读取配置项目.ini，没有导入任何数据" at an import, which then changes
// nothing. One larger than a settings file can be
// (datafolder::kMaxSettingsBytes) is not read either, and the texts say
// why: "无法读取配置项目.ini：文件超过 4 MiB，已使用默认值".
#pragma once

#include <span>

#include "wages/current_wages.h"
#include "wages/rules.h"

namespace qinghe::ui {
class EditBox;
}

namespace qinghe::app {

struct AppContext;
class MainForm;

// The tax settings' boxes: the key each is kept under (UTF-8 source text),
// the box, and the setting it holds.
struct TaxSettingBox {
    const char* key;
    ui::EditBox* MainForm::*box;
    wages::Fen wages::TaxSettings::*amount;
};
std::span<const TaxSettingBox> taxSettingBoxes();

// "导入最后一次输入的数据": each kept box gets its key's value, or its import
// default when the key (or the file) is missing; an empty value is a value.
// The check box and the calculation are left alone. The boxes then count as
// entered (AppContext::enteredControls).
void importSettings(AppContext& app);

// Shut-down: what the person entered in this run (AppContext::
// enteredControls) into the file: the texts of those boxes (the pay form's
// and the tax settings'), key "夜班" when the person changed the check box and
// key "上年收入不超过6万元" when the person changed that one. A form left as it
// opened replaces nothing, and with nothing entered the file is not touched.
// False when the file could not be read or written (the old one is then
// intact).
bool saveSettings(AppContext& app);

// Start-up: checks 选择框夜班 exactly when key "夜班" holds "夜班", byte for
// byte; anything else, a missing key or no file clears it.
void readShiftSetting(AppContext& app);

// Start-up: the rules that key "计算规则" names.
wages::Rules readRulesSetting(AppContext& app);

// The choice of rules into the file at once, the file kept otherwise as it
// is. False when it could not be written (the old file is then intact).
bool saveRulesSetting(AppContext& app, wages::Rules rules);

// The page 设置 as it is made: the tax settings' boxes and check box from
// their keys. Nothing while that page is not made (whatever reads them makes
// it first).
void readTaxSettings(AppContext& app);

}  // namespace qinghe::app
