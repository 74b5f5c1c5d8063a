// The small handlers of the pay form driven as a person drives them: entering
// boxes by mouse and by Tab, clicking the kinds of day, dragging the progress bar, waiting for the
// title clock, clicking the picture button.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <fstream>
#include <functional>
#include <string_view>

#include "app/month_progress.h"
#include "app/user_guide.h"
#include "common/gbk.h"
#include "form_fixture.h"
#include "ui/choice_controls.h"
#include "ui/picture_button.h"
#include "ui/progress_bar.h"

namespace qinghe::app {
namespace {

namespace fs = std::filesystem;
using namespace literals;

using SmallHandlersTest = FormTest;

TEST_F(SmallHandlersTest, BoxesThatSelectThemselvesWhenEnteredLoseNothing) {
    // Each box holds "75"; the person enters it by any mouse button or by
    // Tab. A self-selecting box then has its whole text selected, so that
    // typing replaces it; every box still holds "75".
    const std::pair<ui::EditBox * MainForm::*, bool> boxes[] = {
        {&MainForm::编辑框考核岗位津贴, true},     {&MainForm::编辑框职务津贴, true},
        {&MainForm::编辑框地区津贴, true},         {&MainForm::编辑框技能津贴, true},
        {&MainForm::编辑框夜班津贴, true},         {&MainForm::编辑框特殊岗位津贴, true},
        {&MainForm::编辑框1加班小时数, true},      {&MainForm::编辑框2加班小时数, true},
        {&MainForm::编辑框3加班小时数, true},      {&MainForm::编辑框事假时数, true},
        {&MainForm::编辑框病假时数, true},         {&MainForm::编辑框住房公积金代扣, true},
        {&MainForm::编辑框伙食费代扣, true},       {&MainForm::编辑框住宿费代扣, true},
        {&MainForm::编辑框旷工时数, false},        {&MainForm::编辑框社保代扣, false},
        {&MainForm::编辑框其它减项, false},        {&MainForm::编辑框其它加项, false},
        {&MainForm::编辑框正常工作天数, false},    {&MainForm::编辑框病假工资比例, false},
        {&MainForm::编辑框正常工作时间工资, true},  // at the left button's release
    };
    const std::pair<const char*, std::function<void(ui::EditBox*)>> ways[] = {
        {"left click",
         [](ui::EditBox* b) {
             QTest::mouseClick(b, Qt::LeftButton, {}, {5, 5});
         }},
        {"right click",
         [](ui::EditBox* b) {
             QTest::mouseClick(b, Qt::RightButton, {}, {5, 5});
         }},
        {"middle click",
         [](ui::EditBox* b) {
             QTest::mouseClick(b, Qt::MiddleButton, {}, {5, 5});
         }},
        {"Tab", [](ui::EditBox* b) { b->setFocus(Qt::TabFocusReason); }},
    };
    for (const auto& [member, selects] : boxes) {
        ui::EditBox* box = form().*member;
        const bool basePay = box == form().编辑框正常工作时间工资;
        for (const auto& [way, enter] : ways) {
            SCOPED_TRACE(box->objectName().toStdString() + ", " + way);
            form().按钮结果输出->setFocus();
            box->setTextGbk("75");
            enter(box);
            EXPECT_TRUE(box->hasFocus());
            EXPECT_EQ(box->textGbk(), "75");
            // Tab selects in every box; the base pay selects at the left
            // button's release, and a click elsewhere places the caret.
            const bool selected = std::string_view(way) == "Tab" ||
                                  (selects && (!basePay || std::string_view(way) == "left click"));
            EXPECT_EQ(box->selectedText() == QStringLiteral("75"), selected);
            if (!selected) continue;
            QTest::keyClicks(box, QStringLiteral("5"));
            EXPECT_EQ(box->textGbk(), "5");
        }
    }

    // The base pay selects itself at every left click, also with the caret
    // already in it; the other boxes only when entered.
    ui::EditBox* basePay = form().编辑框正常工作时间工资;
    QTest::keyClick(basePay, Qt::Key_End);
    QTest::mouseClick(basePay, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(basePay->selectedText(), basePay->text());
    ui::EditBox* position = form().编辑框职务津贴;
    QTest::mouseClick(position, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(position, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(position->selectedText(), QString()) << "a second click places the caret";
}

TEST_F(SmallHandlersTest, KindsOfDayPresetTheHoursAndCheckOnlyThemselves) {
    ui::RadioButton* MainForm::*const kinds[] = {
        &MainForm::单选框加班1, &MainForm::单选框加班2, &MainForm::单选框加班3,
        &MainForm::单选框事假,  &MainForm::单选框病假,  &MainForm::单选框旷工,
    };
    const char* hours[] = {"2", "10", "10", "8", "8", "8"};
    for (std::size_t clicked : {1u, 0u, 2u, 3u, 4u, 5u, 5u}) {
        form().组合框->setTextGbk("休息"_gbk);
        QTest::mouseClick(form().*kinds[clicked], Qt::LeftButton, {}, QPoint(4, 7));
        EXPECT_EQ(form().组合框->textGbk(), hours[clicked]);
        for (std::size_t k = 0; k < std::size(kinds); ++k) {
            EXPECT_EQ((form().*kinds[k])->isChecked(), k == clicked) << clicked << " " << k;
        }
    }
}

TEST_F(SmallHandlersTest, TheProgressBarShowsTheMonthAndSnapsBackToToday) {
    app_->startupTime = makeDateTime(2013, 1, 31, 23, 0, 0);
    clock_.set(app_->startupTime);
    showMonthProgress(*app_);
    ui::ProgressBar* bar = form().进度条1;
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 31);
    EXPECT_EQ(bar->position(), 31);

    app_->startupTime = makeDateTime(2013, 10, 8, 9, 30, 0);
    clock_.set(app_->startupTime);
    showMonthProgress(*app_);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseMove(bar, QPoint(400, 8));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(400, 8));
    EXPECT_EQ(bar->position(), 8);
    clock_.set(makeDateTime(2013, 10, 9, 0, 0, 1));  // the next day
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(900, 8));
    EXPECT_EQ(bar->position(), 9);
    clock_.set(makeDateTime(2013, 11, 1, 0, 0, 1));  // a month later: the end of the bar
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(0, 8));
    EXPECT_EQ(bar->position(), 1);
}

TEST_F(SmallHandlersTest, TheTitleClockKeepsTheStartDayAcrossMidnight) {
    EXPECT_EQ(form().captionGbk(), "") << "the layout's title until the first tick";
    app_->startupTime = makeDateTime(2013, 11, 24, 23, 59, 58);  // a Sunday
    clock_.set(makeDateTime(2013, 11, 25, 0, 0, 1));
    QTRY_VERIFY_WITH_TIMEOUT(!form().captionGbk().empty(), 3000);  // 时钟1's own tick
    EXPECT_EQ(gbk::toUtf8(form().captionGbk()),
              "青禾   作者：青禾开发组     癸巳年(蛇)十月廿二 2013-11-24-0时0分1秒    星期日");
}

TEST_F(SmallHandlersTest, ThePictureButtonOpensTheShippedUserGuide) {
    QTest::mouseClick(form().图形按钮1, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(links_.opened.size(), 1u);
    const QUrl url(QString::fromStdString(links_.opened[0]));
    ASSERT_TRUE(url.isLocalFile()) << links_.opened[0];
    QFile guide(url.toLocalFile());
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    EXPECT_TRUE(guide.readAll().contains("<title>青禾 使用说明"));
}

TEST(UserGuide, BesideTheExecutableFirstThenWhereItIsInstalled) {
    const fs::path root = fs::path(QDir::tempPath().toStdString()) / "qinghe-guide-test";
    fs::remove_all(root);
    const fs::path bin = root / "bin";
    const fs::path installed = root / "share/doc/qinghe/guide/index.html";
    const fs::path beside = bin / "guide/index.html";
    fs::create_directories(bin);
    EXPECT_EQ(findUserGuide(bin), std::nullopt);
    fs::create_directories(installed.parent_path());
    std::ofstream(installed) << "installed";
    EXPECT_EQ(findUserGuide(bin), installed);
    fs::create_directories(beside.parent_path());
    std::ofstream(beside) << "beside";
    EXPECT_EQ(findUserGuide(bin), beside);
    fs::remove_all(root);
}

}  // namespace
}  // namespace qinghe::app
