// A main window as the program builds it, over scripted prompts, a fixed
// clock, recorded links and a temporary directory, shown on the offscreen
// screen.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "testing/fixed_clock.h"
#include "testing/recorded_links.h"
#include "testing/scripted_prompts.h"
#include "ui/edit_box.h"

namespace qinghe::app {

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
