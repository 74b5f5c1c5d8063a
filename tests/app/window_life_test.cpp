// The window's life as the program runs it: created, shown, asked to close,
// gone; each event once, and a close asked for by a handler carried out only
// after that handler has returned.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/main_form.h"
#include "common/datetime.h"
#include "ui/grid/grid.h"
#include "ui/page_control.h"
#include "ui/stacked_caption_button.h"

namespace qinghe::app {
namespace {

const DateTime kNow = makeDateTime(2013, 10, 8, 9, 30, 0);

TEST(WindowLife, CreatedThenShownThenDestroyingOnceEach) {
    MainForm form(kNow);
    QSignalSpy created(&form, &MainForm::created);
    QSignalSpy destroying(&form, &MainForm::destroying);
    bool shownWhenCreated = true;
    QObject::connect(&form, &MainForm::created, [&] { shownWhenCreated = form.isVisible(); });
    form.start();
    form.start();
    EXPECT_EQ(created.count(), 1);
    EXPECT_FALSE(shownWhenCreated);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // Before the first tick the title is the layout's (empty) and the desktop
    // shows the program's name.
    EXPECT_EQ(form.captionGbk(), "");
    EXPECT_EQ(QGuiApplication::applicationName(), QStringLiteral("青禾"));
    // The pages but 工资计算 are made when first shown, and shown whole.
    for (int page = 0; page < form.高级选择夹1->pageCount(); ++page)
        EXPECT_EQ(form.isPageBuilt(page), page == kPageWages) << page;
    form.高级选择夹1->setCurrentPage(kPageJournal);
    ASSERT_TRUE(form.isPageBuilt(kPageJournal));
    EXPECT_EQ(form.按钮表格刷新->text(), QStringLiteral("表格刷新"));
    EXPECT_TRUE(form.按钮表格刷新->isVisible());
    EXPECT_TRUE(form.高级表格1->isVisible());

    EXPECT_TRUE(form.close());
    EXPECT_TRUE(form.isClosing());
    EXPECT_FALSE(form.时钟1->isActive());
    form.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(destroying.count(), 1);
    EXPECT_EQ(created.count(), 1);
}

TEST(WindowLife, ACloseRequestedDuringCreatedHappensAfterItAndTheWindowNeverShows) {
    MainForm form(kNow);
    QSignalSpy destroying(&form, &MainForm::destroying);
    bool closedInsideHandler = true;
    QObject::connect(&form, &MainForm::created, [&] {
        form.requestClose();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 0);
        closedInsideHandler = destroying.count() > 0 || form.isClosing();
    });
    form.start();
    EXPECT_FALSE(closedInsideHandler);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(destroying.count(), 0);
    QTRY_COMPARE(destroying.count(), 1);
    EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace qinghe::app
