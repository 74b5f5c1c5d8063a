// The pictures of the user guide (README.md, and the page built from it):
// each page of the window as a person sees it on 8 October 2013, after a
// first start without a password, a week of days recorded, the month read
// and the pay worked out. Rendered to build/renders/screenshots/ and compared
// with the pictures in docs/screenshots, so that the guide shows the window
// as it is. When the window changes on purpose, copy the renders over:
//   cp build/renders/screenshots/*.png docs/screenshots/
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "testing/fixed_clock.h"
#include "testing/recorded_links.h"
#include "testing/scripted_prompts.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"

namespace qinghe::app {
namespace {

using namespace literals;

class GuidePictures : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        bindEvents(app_);
        // A first start: no password set, none typed.
        for (int box = 0; box < 3; ++box) prompts_.answerInput(std::string());
        form_.start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
    }

    void pick(int year, int month, int day) {
        form_.日期框1->setDate(QDate(year, month, day));
        QCoreApplication::processEvents();
    }
    void press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void type(QWidget* box, const char* text) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClicks(box, QString::fromUtf8(text));
    }

    // Renders page `page` as NAME.png and compares it with the kept NAME.png.
    void picture(int page, const char* name) {
        form_.高级选择夹1->setCurrentPage(page);
        QTest::qWait(20);
        const QImage shot = form_.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString file = QString::fromUtf8(name) + QStringLiteral(".png");
        const QDir renders(QStringLiteral(QINGHE_RENDER_DIR "/screenshots"));
        ASSERT_TRUE(renders.mkpath(QStringLiteral(".")));
        const QString render = renders.filePath(file);
        EXPECT_TRUE(shot.save(render));
        const QImage kept(QDir(QStringLiteral(QINGHE_SCREENSHOT_DIR)).filePath(file));
        EXPECT_TRUE(kept.convertToFormat(QImage::Format_RGB32) == shot)
            << "docs/screenshots/" << file.toStdString() << " is not the window as it is now; "
            << "if the change is meant, copy " << render.toStdString() << " over it";
    }

    FixedClock clock_{makeDateTime(2013, 10, 8, 9, 30, 0)};
    ui::ScriptedPrompts prompts_;
    ui::RecordedLinks links_;
    QTemporaryDir dir_;
    MainForm form_{clock_.now()};
    AppContext app_{.form = form_,
                    .prompts = prompts_,
                    .clock = clock_,
                    .dir = {dir_.path().toStdString()},
                    .links = links_};
};

TEST_F(GuidePictures, EachPageAsAPersonSeesItAfterAWeek) {
    type(form_.编辑框正常工作时间工资, "3600");
    // 国庆 (1 to 7 October): three days of holiday overtime, G3, 8 hours each.
    for (int day : {1, 2, 3}) {
        pick(2013, 10, day);
        press(form_.单选框加班3);
        form_.组合框->setTextGbk("8");
        press(form_.按钮加班记录);
    }
    pick(2013, 10, 5);  // a rest day worked: G2
    press(form_.单选框加班2);
    form_.组合框->setTextGbk("8");
    press(form_.按钮加班记录);
    pick(2013, 10, 6);  // a day off, with a remark
    form_.组合框->setTextGbk("休息"_gbk);
    press(form_.按钮加班记录);
    pick(2013, 10, 7);  // holiday overtime on night shift
    press(form_.选择框夜班);
    press(form_.单选框加班3);
    form_.组合框->setTextGbk("6");
    press(form_.按钮加班记录);
    press(form_.选择框夜班);
    pick(2013, 10, 8);  // half a day of personal leave
    press(form_.单选框事假);
    form_.组合框->setTextGbk("4");
    press(form_.按钮加班记录);
    press(form_.按钮刷新);
    ASSERT_TRUE(prompts_.messages().empty()) << gbk::toUtf8(prompts_.messages().front().text);

    picture(kPageWages, "wages");
    picture(kPageJournal, "journal");
    picture(kPageSettings, "settings");
    picture(kPageHelp, "help");
}

}  // namespace
}  // namespace qinghe::app
