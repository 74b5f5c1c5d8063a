// Renders each page of the main window to PNG for review, into the build
// tree (QINGHE_RENDER_DIR): page-1.png ... page-4.png as the window opens,
// and page-1-results.png after "结果输出".
#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "testing/fixed_clock.h"
#include "testing/recorded_links.h"
#include "testing/scripted_prompts.h"
#include "ui/page_control.h"

namespace qinghe::app {
namespace {

void save(QWidget& window, const QString& name) {
    QTest::qWait(20);
    const QPixmap shot = window.grab();
    ASSERT_EQ(shot.size(), QSize(kWindowWidth, kWindowHeight));
    const QString path = QDir(QStringLiteral(QINGHE_RENDER_DIR)).filePath(name);
    EXPECT_TRUE(shot.save(path)) << path.toStdString();
}

TEST(RenderPages, EveryPageToPng) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(QINGHE_RENDER_DIR)));
    FixedClock clock(makeDateTime(2013, 10, 8, 9, 30, 0));
    MainForm form(clock.now());
    ui::ScriptedPrompts prompts;
    ui::RecordedLinks links;
    AppContext app{.form = form,
                   .prompts = prompts,
                   .clock = clock,
                   .dir = {QDir::tempPath().toStdString()},
                   .links = links};
    bindEvents(app);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    for (int page = 0; page < form.高级选择夹1->pageCount(); ++page) {
        form.高级选择夹1->setCurrentPage(page);
        save(form, QStringLiteral("page-%1.png").arg(page + 1));
    }
    form.高级选择夹1->setCurrentPage(kPageWages);
    QTest::mouseClick(form.按钮结果输出, Qt::LeftButton);
    save(form, QStringLiteral("page-1-results.png"));
}

}  // namespace
}  // namespace qinghe::app
