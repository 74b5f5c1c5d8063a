#include "app/rules_choice.h"

#include <QPushButton>

#include "app/app_context.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "datafolder/arrangements_file.h"
#include "ui/choice_controls.h"
#include "ui/transparent_label.h"

namespace qinghe::app {
namespace {

using namespace literals;
using Problem = datafolder::ArrangementsProblem;

const datafolder::LoadedArrangements& loadedArrangements(AppContext& app) {
    if (!app.announced) app.announced = datafolder::loadArrangements(app.folder);
    return *app.announced;
}

std::string problemText(const Problem& problem) {
    const std::string file = gbk::fromUtf8(datafolder::kArrangementsFileName).text;
    switch (problem.kind) {
        case Problem::Kind::BadLine:
            return file + "第"_gbk + std::to_string(problem.badLine.line) + "行有误（"_gbk +
                   gbk::fromUtf8(datafolder::faultWords(problem.badLine.fault).chinese).text +
                   "），整个文件未采用"_gbk;
        case Problem::Kind::TooLarge:
            return file + "超过1MB，未采用"_gbk;
        case Problem::Kind::Unreadable:
            break;
    }
    return file + "读取失败，未采用"_gbk;
}

// The button of each choice.
constexpr RulesButton kButtons[] = {
    {wages::Rules::Seed, &MainForm::单选框原版规则},
    {wages::Rules::Current, &MainForm::单选框现行规则},
};

}  // namespace

std::span<const RulesButton> rulesButtons() {
    return kButtons;
}

wages::Rules chosenRules(const AppContext& app) {
    return app.rules;
}

void showRules(AppContext& app, wages::Rules rules) {
    app.rules = rules;
    MainForm& form = app.form;
    for (const auto& [choice, button] : kButtons) {
        if (ui::RadioButton* shown = form.*button) shown->setChecked(choice == rules);
    }
    form.标签计算规则->setCaptionGbk("计算规则："_gbk + wages::rulesName(rules));
    const bool current = rules == wages::Rules::Current;
    form.标签个税累计月份->setVisible(current);
    form.按钮工资记录->setVisible(current);
    form.按钮记入工资记录->setVisible(current);
}

wages::DayRules dayRules(AppContext& app) {
    const wages::Rules rules = chosenRules(app);
    if (rules == wages::Rules::Seed) return {rules, nullptr};
    return {rules, &loadedArrangements(app).list};
}

std::string arrangementsCaption(AppContext& app, const wages::DateChangeCaptions& captions) {
    if (chosenRules(app) == wages::Rules::Seed) return {};
    const datafolder::LoadedArrangements& loaded = loadedArrangements(app);
    return loaded.problem ? problemText(*loaded.problem) : captions.arranged;
}

}  // namespace qinghe::app
