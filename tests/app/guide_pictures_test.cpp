// The pictures of the user guide (README.md, and the page built from it):
// each page of the window as a person sees it on 8 October 2013, after a
// first start without a password, a week of days recorded, the month read
// and the pay worked out; then the page "月历" under 现行规则, as the month's
// calendar and as the year's chart. Rendered to build/renders/screenshots/ and compared
// with the pictures in docs/screenshots, so that the guide shows the window
// as it is. When the window changes on purpose, copy the renders over:
//   cp build/renders/screenshots/*.png docs/screenshots/
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QPushButton>

#include "app/startup.h"
#include "common/gbk.h"
#include "form_fixture.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"

namespace qinghe::app {
namespace {

using namespace literals;

class GuidePictures : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        // A first start: no password set, none typed.
        for (int box = 0; box < 3; ++box) prompts_.answerInput(std::string());
        prompts_.answerMessage(ui::MessageResult::Ok);  // "是否设定空密码？"
        onWindowCreated(*app_);
    }

    void pick(int year, int month, int day) {
        form().日期框1->setDate(QDate(year, month, day));
        QCoreApplication::processEvents();
    }
    void press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void type(QWidget* box, const char* text) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClicks(box, QString::fromUtf8(text));
    }

    // Renders page `page` as NAME.png and compares it with the kept NAME.png.
    void picture(int page, const char* name) {
        form().高级选择夹1->setCurrentPage(page);
        QTest::qWait(20);
        const QImage shot = form().grab().toImage().convertToFormat(QImage::Format_RGB32);
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
};

TEST_F(GuidePictures, EachPageAsAPersonSeesItAfterAWeek) {
    type(form().编辑框正常工作时间工资, "3600");
    // 国庆 (1 to 7 October): three days of holiday overtime, G3, 8 hours each.
    for (int day : {1, 2, 3}) {
        pick(2013, 10, day);
        press(form().单选框加班3);
        form().组合框->setTextGbk("8");
        press(form().按钮加班记录);
    }
    pick(2013, 10, 5);  // a rest day worked: G2
    press(form().单选框加班2);
    form().组合框->setTextGbk("8");
    press(form().按钮加班记录);
    pick(2013, 10, 6);  // a day off, with a remark
    form().组合框->setTextGbk("休息"_gbk);
    press(form().按钮加班记录);
    pick(2013, 10, 7);  // holiday overtime on night shift
    press(form().选择框夜班);
    press(form().单选框加班3);
    form().组合框->setTextGbk("6");
    press(form().按钮加班记录);
    press(form().选择框夜班);
    pick(2013, 10, 8);  // half a day of personal leave
    press(form().单选框事假);
    form().组合框->setTextGbk("4");
    press(form().按钮加班记录);
    press(form().按钮刷新);
    ASSERT_EQ(prompts_.messages().size(), 1u) << gbk::toUtf8(prompts_.messages().back().text);

    picture(kPageWages, "wages");
    picture(kPageJournal, "journal");
    picture(kPageSettings, "settings");
    picture(kPageHelp, "help");

    // The month and its year under the rules in force: the days off of 国庆,
    // the make-up working Saturday, the working days not recorded.
    form().高级选择夹1->setCurrentPage(kPageSettings);
    press(form().单选框现行规则);
    picture(kPageCalendar, "calendar");
    press(form().单选框全年);
    picture(kPageCalendar, "chart");
}

}  // namespace
}  // namespace qinghe::app
