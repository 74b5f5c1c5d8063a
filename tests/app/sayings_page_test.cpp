// The page "使用说明" as a person uses it while the tips and sayings are being
// written: going to other pages and back, pressing buttons, closing the
// window. Time is a clock that moves only while the program waits, and runs
// the person's actions when it reaches their moment.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <map>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "testing/recorded_links.h"
#include "testing/scripted_prompts.h"
#include "ui/delay_with_events.h"
#include "ui/drawing_panel.h"
#include "ui/page_control.h"
#include "ui/transparent_label.h"

namespace qinghe::app {
namespace {

constexpr int kWholeRunMs = 59730;  // the script's waits added up

// A clock whose ticks move only when the program sleeps, and which runs
// scheduled actions when their tick comes.
class ScheduledClock final : public Clock {
  public:
    DateTime now() override {
        return makeDateTime(2013, 10, 8, 9, 30, 0) + static_cast<double>(ticks_) / 86400000.0;
    }
    std::uint64_t tickCount() override { return ticks_; }
    void sleepMs(int ms) override {
        ticks_ += static_cast<std::uint64_t>(ms);
        while (!actions_.empty() && actions_.begin()->first <= ticks_) {
            auto action = std::move(actions_.begin()->second);
            actions_.erase(actions_.begin());
            action();  // may wait again, and so run later actions nested
        }
    }
    // Runs `action` `ms` after now.
    void after(std::uint64_t ms, std::function<void()> action) {
        actions_.emplace(ticks_ + ms, std::move(action));
    }

  private:
    std::uint64_t ticks_ = 0;
    std::multimap<std::uint64_t, std::function<void()>> actions_;
};

class SayingsPageTest : public testing::Test {
  protected:
    void SetUp() override {
        form_.buildPage(kPageHelp);  // its panel, blank, to compare with before it opens
        bindEvents(app_);
        form_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
    }

    void open(int page) {
        QTabBar* headers = form_.高级选择夹1->headers();
        QTest::mouseClick(headers, Qt::LeftButton, {}, headers->tabRect(page).center());
    }
    QImage panel() { return form_.画板1->canvas().copy(); }
    std::uint64_t now() { return clock_.tickCount(); }

    ScheduledClock clock_;
    ui::ScriptedPrompts prompts_;
    ui::RecordedLinks links_;
    QTemporaryDir dir_;
    MainForm form_{clock_.now()};
    AppContext app_{.form = form_,
                    .prompts = prompts_,
                    .clock = clock_,
                    .folder = datafolder::DataFolder(dir_.path().toStdString()),
                    .links = links_,
                    .startupTime = clock_.now()};
};

TEST_F(SayingsPageTest, OnlyTheHelpPageWritesAndTheFirstTipWaitsHalfASecond) {
    const QImage blank = panel();
    for (int page : {kPageJournal, kPageSettings, kPageWages}) open(page);
    EXPECT_EQ(now(), 0u);
    EXPECT_EQ(panel(), blank);

    QImage before, after;
    clock_.after(490, [&] { before = panel(); });
    clock_.after(510, [&] { after = panel(); });
    open(kPageHelp);  // returns when the whole animation has run
    EXPECT_EQ(before, blank);
    EXPECT_NE(after, blank);
    EXPECT_GE(now(), std::uint64_t{kWholeRunMs});
    EXPECT_LT(now(), std::uint64_t{kWholeRunMs + 300 * ui::kPollIntervalMs});

    // What was written stays while the page is hidden and when it comes back.
    const QImage written = panel();
    open(kPageWages);
    EXPECT_EQ(panel(), written);
    QImage onReturn;
    clock_.after(100, [&] { onReturn = panel(); });
    open(kPageHelp);
    EXPECT_EQ(onReturn, written);
}

TEST_F(SayingsPageTest, OtherPagesWorkDuringTheAnimationAndAReturnDrawsItAgainNested) {
    std::uint64_t nestedEnded = 0;
    clock_.after(2000, [&] { open(kPageWages); });
    clock_.after(2500, [&] {
        QTest::mouseClick(form_.按钮结果输出, Qt::LeftButton);  // the calculation runs meanwhile
    });
    clock_.after(3000, [&] {
        open(kPageHelp);  // a second animation, whole, inside the first one's wait
        nestedEnded = now();
    });
    open(kPageHelp);
    EXPECT_NE(gbk::toUtf8(form_.标签实发工资->captionGbk()), "标签实发工资");
    EXPECT_GE(nestedEnded, std::uint64_t{3000 + kWholeRunMs});
    // The first run was in the wait after tip 3 (2500 to 3500 ms of its
    // script) and went on with the rest afterwards.
    EXPECT_GE(now(), nestedEnded + (kWholeRunMs - 3500));
    EXPECT_LT(now(), nestedEnded + (kWholeRunMs - 3500) + 300 * ui::kPollIntervalMs);
    EXPECT_EQ(form_.高级选择夹1->currentPage(), kPageHelp);
}

class ClosingDuringTheAnimation : public SayingsPageTest,
                                  public testing::WithParamInterface<int> {};

TEST_P(ClosingDuringTheAnimation, StopsItAtOnce) {
    const auto closeAt = static_cast<std::uint64_t>(GetParam());
    QSignalSpy destroying(&form_, &MainForm::destroying);
    QImage atClose;
    clock_.after(closeAt, [&] {
        atClose = panel();
        form_.close();
    });
    open(kPageHelp);
    EXPECT_LT(now(), closeAt + ui::kPollIntervalMs);
    EXPECT_EQ(destroying.count(), 1);
    EXPECT_EQ(panel(), atClose) << "nothing drawn after the close";
}

// Before tip 1, after tip 1, after tip 5, and within saying 1.
INSTANTIATE_TEST_SUITE_P(Moments, ClosingDuringTheAnimation,
                         testing::Values(300, 1200, 6000, 8000));

TEST_F(SayingsPageTest, ClosingDuringANestedAnimationEndsBothRuns) {
    clock_.after(1000, [&] { open(kPageSettings); });
    clock_.after(1500, [&] { open(kPageHelp); });
    clock_.after(4000, [&] { form_.close(); });
    open(kPageHelp);
    EXPECT_LT(now(), 4000u + ui::kPollIntervalMs);
    EXPECT_TRUE(form_.isClosing());
}

}  // namespace
}  // namespace qinghe::app
