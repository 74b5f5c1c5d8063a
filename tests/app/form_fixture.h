// A main window as the program builds it, over scripted prompts, a fixed
// clock, recorded links and a temporary directory, shown on the offscreen
// screen.
#pragma once

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "testing/fixed_clock.h"
#include "testing/recorded_links.h"
#include "testing/scripted_prompts.h"
#include "ui/drawing_panel.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"

namespace qinghe::app {

class FormTest : public testing::Test {
  protected:
    // `allPages`: every page made before the window shows, for the tests
    // that hold a page's controls from the start; false leaves the pages to
    // be made when they are first shown, as in the program.
    explicit FormTest(bool allPages = true) : allPages_(allPages) {}

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        form_ = std::make_unique<MainForm>(clock_.now());
        if (allPages_) form_->buildAllPages();
        app_ = std::make_unique<AppContext>(
            AppContext{.form = *form_,
                       .prompts = prompts_,
                       .clock = clock_,
                       .folder = datafolder::DataFolder(dir_.path().toStdString()),
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

  private:
    bool allPages_;
};

class LazyFormTest : public FormTest {
  protected:
    LazyFormTest() : FormTest(false) {}
};

// The controls of the layout, every page made: the children of the pages,
// of the journal group and of the instructions panel, and the page control.
inline QList<QWidget*> controls(MainForm& form) {
    form.buildAllPages();
    QList<QWidget*> containers{form.分组框1, form.画板1};
    for (int page = 0; page < form.高级选择夹1->pageCount(); ++page) {
        containers << form.高级选择夹1->page(page);
    }
    QList<QWidget*> all{form.高级选择夹1};
    for (QWidget* container : containers) {
        all << container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    }
    return all;
}

}  // namespace qinghe::app
