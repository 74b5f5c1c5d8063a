#include "app/settings.h"

#include <QCheckBox>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "common/profile_file.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"
#include "recordstore/replace_file.h"
#include "ui/edit_box.h"
#include "wages/pay_form.h"

namespace qinghe::app {
namespace {

using namespace literals;

const std::string kFileName = "配置项目.ini"_gbk;
const std::string kSection = "工资总项目"_gbk;
const std::string kShiftKey = "夜班"_gbk;
const std::string kNightShift = "夜班"_gbk;
const std::string kDayShift = "白班"_gbk;
const std::string kRulesKey = "计算规则"_gbk;

std::string settingsPath(AppContext& app) {
    return recordstore::resolveIgnoringCase(app.files, app.dir.file(kFileName).string());
}

// The file as it stands: empty when there is none, nullopt when it exists
// but cannot be read.
std::optional<profile::ProfileFile> load(AppContext& app) {
    recordstore::FileSystem& fs = app.files;
    const int handle = fs.open(settingsPath(app), false, false);
    if (handle == -ENOENT) return profile::ProfileFile();
    if (handle < 0) return std::nullopt;
    std::string bytes;
    bool ok = true;
    const std::int64_t size = fs.size(handle);
    if (size < 0) ok = false;
    bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    for (std::size_t done = 0; ok && done < bytes.size();) {
        auto* at = reinterpret_cast<std::uint8_t*>(bytes.data()) + done;
        const std::int64_t n =
            fs.read(handle, {at, bytes.size() - done}, static_cast<std::int64_t>(done));
        if (n <= 0) ok = false;
        done += static_cast<std::size_t>(std::max<std::int64_t>(n, 0));
    }
    fs.close(handle);
    if (!ok) return std::nullopt;
    return profile::ProfileFile(bytes);
}

// The file, changed, in place of the old one.
bool replace(AppContext& app, const profile::ProfileFile& file) {
    const std::string bytes = file.bytes();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return recordstore::writeReplacing(app.files, app.clock, settingsPath(app),
                                       {data, bytes.size()},
                                       recordstore::error::kUnknown) == recordstore::error::kOk;
}

}  // namespace

void importSettings(AppContext& app) {
    const profile::ProfileFile file = load(app).value_or(profile::ProfileFile());
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        if (row.kept != wages::KeptInSettings::Yes) continue;
        (app.form.*row.box)->setTextGbk(file.read(kSection, row.key, row.importDefault));
    }
}

bool saveSettings(AppContext& app) {
    std::optional<profile::ProfileFile> file = load(app);
    if (!file) return false;
    bool written = true;
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        if (row.kept != wages::KeptInSettings::Yes) continue;
        written &= file->write(kSection, row.key, (app.form.*row.box)->textGbk());
    }
    written &= file->write(kSection, kShiftKey,
                           app.form.选择框夜班->isChecked() ? kNightShift : kDayShift);
    return written && replace(app, *file);
}

void readShiftSetting(AppContext& app) {
    const profile::ProfileFile file = load(app).value_or(profile::ProfileFile());
    app.form.选择框夜班->setChecked(file.read(kSection, kShiftKey, kDayShift) == kNightShift);
}

wages::Rules readRulesSetting(AppContext& app) {
    const profile::ProfileFile file = load(app).value_or(profile::ProfileFile());
    return wages::rulesNamed(file.read(kSection, kRulesKey, wages::rulesName(wages::Rules::Seed)));
}

bool saveRulesSetting(AppContext& app, wages::Rules rules) {
    std::optional<profile::ProfileFile> file = load(app);
    return file && file->write(kSection, kRulesKey, wages::rulesName(rules)) && replace(app, *file);
}

}  // namespace qinghe::app
