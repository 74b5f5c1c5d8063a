// A main window as the program builds it, over scripted prompts, a fixed
// clock, recorded links and a temporary directory, shown on the offscreen
// screen.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <utility>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "testing/fixed_clock.h"
#include "testing/recorded_links.h"
#include "testing/scripted_prompts.h"
#include "ui/edit_box.h"

namespace qinghe::app {

// The pay form's boxes by their keys, in the order of wages::wageFormFields().
inline const std::pair<const char*, ui::EditBox * MainForm::*> kBoxesByKey[] = {
    {"正常工作时间工资", &MainForm::编辑框正常工作时间工资},
    {"考核岗位津贴", &MainForm::编辑框考核岗位津贴},
    {"职务津贴", &MainForm::编辑框职务津贴},
    {"地区津贴", &MainForm::编辑框地区津贴},
    {"事假小时数", &MainForm::编辑框事假时数},
    {"病假小时数", &MainForm::编辑框病假时数},
    {"旷工小时数", &MainForm::编辑框旷工时数},
    {"社保代扣", &MainForm::编辑框社保代扣},
    {"住房公积金代扣", &MainForm::编辑框住房公积金代扣},
    {"伙食费代扣", &MainForm::编辑框伙食费代扣},
    {"住宿费代扣", &MainForm::编辑框住宿费代扣},
    {"技能津贴", &MainForm::编辑框技能津贴},
    {"特殊岗位津贴", &MainForm::编辑框特殊岗位津贴},
    {"G1加班小时数", &MainForm::编辑框1加班小时数},
    {"G2加班小时数", &MainForm::编辑框2加班小时数},
    {"G3加班小时数", &MainForm::编辑框3加班小时数},
    {"其它减项", &MainForm::编辑框其它减项},
    {"其它加项", &MainForm::编辑框其它加项},
    {"夜班津贴", &MainForm::编辑框夜班津贴},
    {"病假工资比例", &MainForm::编辑框病假工资比例},
    {"正常工作天数", &MainForm::编辑框正常工作天数},
};

class FormTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        form_ = std::make_unique<MainForm>(clock_.now());
        app_ = std::make_unique<AppContext>(AppContext{.form = *form_,
                                                       .prompts = prompts_,
                                                       .clock = clock_,
                                                       .dir = {dir_.path().toStdString()},
                                                       .links = links_,
                                                       .startupTime = clock_.now()});
        bindEvents(*app_);
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }

    MainForm& form() { return *form_; }

    FixedClock clock_{makeDateTime(2013, 10, 8, 9, 30, 0)};
    ui::ScriptedPrompts prompts_;
    ui::RecordedLinks links_;
    QTemporaryDir dir_;
    std::unique_ptr<MainForm> form_;
    std::unique_ptr<AppContext> app_;
};

}  // namespace qinghe::app
