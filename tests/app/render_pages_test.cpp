// Renders each page of the main window to PNG for review, into the build
// tree (QINGHE_RENDER_DIR): page-1.png ... page-4.png as the window opens and
// page-1-results.png after "结果输出"; then the same under a desktop whose
// theme is dark (page-N-dark.png, page-1-results-dark.png), which must be the
// very same pictures, since the window brings its own look.
//
// Run on another screen (see gui_test_main.cpp), the names carry the name
// that QINGHE_RENDER_VARIANT gives, e.g. page-1-2x.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "testing/fixed_clock.h"
#include "testing/recorded_links.h"
#include "testing/scripted_prompts.h"
#include "ui/page_control.h"
#include "ui/window_look.h"

namespace qinghe::app {
namespace {

struct Render {
    QString name;
    QImage picture;
};

// Every page as the window opens, then the first page with the results.
std::vector<Render> renderPages() {
    FixedClock clock(makeDateTime(2013, 10, 8, 9, 30, 0));
    MainForm form(clock.now());
    ui::ScriptedPrompts prompts;
    ui::RecordedLinks links;
    AppContext app{.form = form,
                   .prompts = prompts,
                   .clock = clock,
                   .folder = datafolder::DataFolder(QDir::tempPath().toStdString()),
                   .links = links};
    bindEvents(app);
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));

    std::vector<Render> renders;
    const auto grab = [&](const QString& name) {
        QTest::qWait(20);
        const QPixmap shot = form.grab();
        EXPECT_EQ(shot.deviceIndependentSize().toSize(), form.size()) << name.toStdString();
        renders.push_back({name, shot.toImage()});
    };
    for (int page = 0; page < form.高级选择夹1->pageCount(); ++page) {
        form.高级选择夹1->setCurrentPage(page);
        grab(QStringLiteral("page-%1").arg(page + 1));
    }
    form.高级选择夹1->setCurrentPage(kPageWages);
    QTest::mouseClick(form.按钮结果输出, Qt::LeftButton);
    grab(QStringLiteral("page-1-results"));
    return renders;
}

void save(const std::vector<Render>& renders, const QString& suffix) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(QINGHE_RENDER_DIR)));
    QString variant = qEnvironmentVariable("QINGHE_RENDER_VARIANT");
    if (!variant.isEmpty()) variant.prepend(u'-');
    for (const Render& r : renders) {
        const QString path =
            QDir(QStringLiteral(QINGHE_RENDER_DIR)).filePath(r.name + suffix + variant + ".png");
        EXPECT_TRUE(r.picture.save(path)) << path.toStdString();
    }
}

// A dark desktop theme's colours, as a platform theme hands them to every
// program before it sets its own.
QPalette darkDesktopPalette() {
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2D, 0x2D, 0x2D));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    return dark;
}

TEST(RenderPages, EveryPageAndTheSameUnderADarkTheme) {
    const std::vector<Render> light = renderPages();
    save(light, QString());

    QApplication::setPalette(darkDesktopPalette());
    ui::setWindowLook();
    const std::vector<Render> dark = renderPages();
    save(dark, QStringLiteral("-dark"));

    ASSERT_EQ(dark.size(), light.size());
    for (std::size_t i = 0; i < light.size(); ++i) {
        EXPECT_TRUE(dark[i].picture == light[i].picture) << light[i].name.toStdString();
    }
}

}  // namespace
}  // namespace qinghe::app
