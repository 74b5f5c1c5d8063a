#include "app/main_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "app/pictures.h"
#include "common/gbk.h"
#include "form_fixture.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/drawing_panel.h"
#include "ui/edit_box.h"
#include "ui/grid/grid.h"
#include "ui/page_control.h"
#include "ui/picture_button.h"
#include "ui/progress_bar.h"
#include "ui/stacked_caption_button.h"
#include "ui/transparent_label.h"
#include "wages/pay_form.h"

namespace qinghe::app {
namespace {

using namespace literals;

// Where a control lies relative to its container in the window's layout:
// the page control for controls on a page, else its own parent.
QRect placeOf(MainForm& form, QWidget* control, bool onPage) {
    QWidget* container = onPage ? static_cast<QWidget*>(form.高级选择夹1) : control->parentWidget();
    return QRect(control->mapTo(container, QPoint(0, 0)), control->size());
}

TEST_F(FormTest, TheWindowIsFixedAndHasOnlyACloseBox) {
    EXPECT_EQ(form().size(), QSize(kWindowWidth, kWindowHeight));
    EXPECT_EQ(form().minimumSize(), form().maximumSize());
    const Qt::WindowFlags flags = form().windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form().captionGbk(), "");
    EXPECT_EQ(form().时钟1->interval(), 1000);
    EXPECT_TRUE(form().时钟1->isActive());
}

TEST_F(FormTest, FivePagesWithTheFirstCurrent) {
    ui::PageControl* pages = form().高级选择夹1;
    EXPECT_EQ(pages->geometry(), QRect(0, 0, 893, 720));
    ASSERT_EQ(pages->pageCount(), 5);
    const char* headers[] = {"工资计算", "加班明细", "月历", "设置", "使用说明"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(pages->headers()->tabText(i), QString::fromUtf8(headers[i]));
    EXPECT_EQ(pages->currentPage(), kPageWages);
    EXPECT_EQ(pages->headers()->font().pixelSize(), 12);
}

struct PlaceCase {
    const char* name;
    QWidget* control;
    bool onPage;
    QRect place;
};

TEST_F(FormTest, ControlsStandAtTheirPlaces) {
    const PlaceCase cases[] = {
        {"透明标签1", form().透明标签1, true, {19, 40, 125, 15}},
        {"透明标签6", form().透明标签6, true, {19, 616, 115, 15}},
        {"按钮导入", form().按钮导入, true, {24, 656, 168, 24}},
        {"编辑框正常工作时间工资", form().编辑框正常工作时间工资, true, {153, 39, 56, 16}},
        {"编辑框其它加项", form().编辑框其它加项, true, {152, 615, 56, 16}},
        {"标签实发工资", form().标签实发工资, true, {264, 328, 126, 15}},
        {"标签本月节假日", form().标签本月节假日, true, {264, 550, 256, 15}},
        {"标签节假日10小时薪资", form().标签节假日10小时薪资, true, {448, 328, 137, 15}},
        {"分组框1", form().分组框1, true, {647, 48, 216, 424}},
        {"标签当前统计到的加班日期", form().标签当前统计到的加班日期, true, {664, 392, 176, 15}},
        {"按钮结果输出", form().按钮结果输出, true, {656, 496, 208, 184}},
        {"日期框1", form().日期框1, false, {20, 37, 117, 16}},
        {"单选框加班1", form().单选框加班1, false, {8, 72, 56, 18}},
        {"组合框", form().组合框, false, {137, 128, 48, 20}},
        {"按钮数据库清空", form().按钮数据库清空, false, {112, 392, 88, 22}},
        {"高级表格1", form().高级表格1, true, {0, 24, 832, 696}},
        {"按钮表格刷新", form().按钮表格刷新, true, {840, 224, 48, 216}},
        {"编辑框病假工资比例", form().编辑框病假工资比例, true, {144, 88, 76, 17}},
        {"透明标签7", form().透明标签7, true, {272, 64, 344, 24}},
        {"画板1", form().画板1, true, {0, 24, 916, 691}},
        {"图形按钮1", form().图形按钮1, false, {776, 632, 77, 22}},
    };
    for (const auto& c : cases) {
        QWidget* control = c.control;
        const QRect place = placeOf(form(), control, c.onPage);
        EXPECT_EQ(place.topLeft(), c.place.topLeft()) << c.name;
        EXPECT_EQ(place.height(), c.place.height()) << c.name;
        // Labels may have widened for a long caption; nothing is narrower.
        EXPECT_GE(place.width(), c.place.width()) << c.name;
        if (!qobject_cast<ui::TransparentLabel*>(control)) {
            EXPECT_EQ(place.width(), c.place.width()) << c.name;
        }
    }
    EXPECT_EQ(form().日期框1->parentWidget(), form().分组框1);
    EXPECT_EQ(form().图形按钮1->parentWidget(), form().画板1);
}

TEST_F(FormTest, EveryPayBoxOpensWithTheTextTheCalculatorAssumes) {
    // The command-line calculator's defaults are the window's opening texts.
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        ASSERT_NE(form().*row.box, nullptr) << gbk::toUtf8(row.key);
        EXPECT_EQ((form().*row.box)->textGbk(), row.openingText) << gbk::toUtf8(row.key);
    }
}

TEST_F(FormTest, ColoursMarkTheMeaningOfItems) {
    auto colourOf = [](QWidget* w, QPalette::ColorRole role) {
        return w->palette().color(role).rgba();
    };
    // Red, as the help page says, marks exactly the items that the
    // calculation adds into the base pay, box and caption alike.
    using W = wages::WageInputs;
    const double W::*const basePay[] = {&W::basePay, &W::postAllowance, &W::positionAllowance,
                                        &W::regionalAllowance};
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        ui::EditBox* box = form().*row.box;
        if (!form().高级选择夹1->page(kPageWages)->isAncestorOf(box)) continue;
        const bool base = std::ranges::find(basePay, row.input) != std::end(basePay);
        const QRgb colour = base ? kRedText : kBlackText;
        EXPECT_EQ(colourOf(box, QPalette::Text), colour) << gbk::toUtf8(row.key);
        const auto labels = box->parentWidget()->findChildren<ui::TransparentLabel*>();
        const auto caption =
            std::ranges::find_if(labels, [box](auto* l) { return l->buddy() == box; });
        ASSERT_NE(caption, labels.end()) << gbk::toUtf8(row.key);
        EXPECT_EQ(colourOf(*caption, QPalette::WindowText), colour) << gbk::toUtf8(row.key);
    }
    EXPECT_EQ(colourOf(form().编辑框夜班津贴, QPalette::Text), kBlackText);
    EXPECT_EQ(colourOf(form().透明标签38, QPalette::WindowText), kBlackText);
    EXPECT_EQ(colourOf(form().标签应发工资, QPalette::WindowText), kRoseText);
    EXPECT_EQ(colourOf(form().标签实发工资, QPalette::WindowText), kRoseText);
    EXPECT_EQ(colourOf(form().标签本月G2最多小时数, QPalette::WindowText), kBlueText);
    EXPECT_EQ(colourOf(form().标签本月节假日, QPalette::WindowText), kLightBlueText);
    EXPECT_EQ(colourOf(form().透明标签7, QPalette::WindowText), kLightBlueText);
    EXPECT_EQ(form().透明标签7->font().pixelSize(), 19);
    EXPECT_EQ(form().按钮结果输出->font().pixelSize(), 24);
    EXPECT_EQ(form().按钮表格刷新->font().pixelSize(), 32);
}

TEST_F(FormTest, InitialTextsOfTheOtherControls) {
    EXPECT_EQ(form().标签G1工资->captionGbk(), "标签G1工资"_gbk);
    EXPECT_EQ(form().标签个人所得税代扣->captionGbk(), "个人所得税代扣"_gbk);
    EXPECT_EQ(form().标签正常10小时薪资->captionGbk(), "标签正常10小时工资"_gbk);
    EXPECT_EQ(form().标签本月已加班->captionGbk(), "本月已加班"_gbk);
    EXPECT_EQ(form().分组框1->title(), QStringLiteral("数据库操作"));
    EXPECT_EQ(form().按钮删除->text(), QStringLiteral("删除记录"));
    EXPECT_EQ(form().组合框->count(), 6);
    EXPECT_EQ(form().组合框->itemText(4), QStringLiteral("休息"));
    EXPECT_FALSE(form().选择框夜班->isChecked());
    EXPECT_EQ(form().日期框1->value(), clock_.now());
    EXPECT_EQ(form().高级表格1->rowCount(), 5);
    EXPECT_EQ(form().高级表格1->columnCount(), 10);
    EXPECT_EQ(form().透明标签7->captionGbk(), "不懂的不要乱改！"_gbk) << "no promise of more";
    EXPECT_EQ(form().标签状态->captionGbk(), "");
}

TEST_F(FormTest, PayBoxesFilterWhatIsTypedAndSettingsBoxesDoNot) {
    ui::EditBox* pay = form().编辑框职务津贴;
    pay->clear();
    QTest::keyClicks(pay, QStringLiteral("5a0-0.x"));
    EXPECT_EQ(pay->textGbk(), "50-0.");
    QTest::keyClicks(pay, QStringLiteral("1234567"));
    EXPECT_EQ(pay->textGbk(), "50-0.12345");  // ten characters at most

    form().高级选择夹1->setCurrentPage(kPageSettings);
    ui::EditBox* days = form().编辑框正常工作天数;
    days->clear();
    QTest::keyClicks(days, QStringLiteral("21.75 d"));
    QTest::sendKeyEvent(QTest::KeyAction::Click, days, Qt::Key_unknown, QStringLiteral("天"),
                        Qt::NoModifier);
    EXPECT_EQ(days->textGbk(), "21.75 d天"_gbk);
}

TEST_F(FormTest, SwitchingPagesAndBackRaisesPageChangedTwice) {
    int changes = 0;
    QObject::connect(form().高级选择夹1, &ui::PageControl::pageChanged, [&] { ++changes; });
    QTabBar* headers = form().高级选择夹1->headers();
    QTest::mouseClick(headers, Qt::LeftButton, {}, headers->tabRect(kPageJournal).center());
    EXPECT_TRUE(form().高级表格1->isVisible());
    EXPECT_FALSE(form().按钮结果输出->isVisible());
    QTest::mouseClick(headers, Qt::LeftButton, {}, headers->tabRect(kPageWages).center());
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(form().按钮结果输出->isVisible());
}

TEST_F(FormTest, TheWindowRefitsOnAnotherScreenWithoutAWarning) {
    // Shown afresh, the window connects to its screen without a complaint
    // from the toolkit.
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg) warnings << text;
        });
    form().hide();
    form().show();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();

    // A move to another screen, and a change of the screen's area, refit it.
    for (int round = 0; round < 2; ++round) {
        form().setFixedSize(400, 300);
        QScreen* screen = form().screen();
        if (round == 0) {
            emit form().windowHandle()->screenChanged(screen);
        } else {
            emit screen->availableGeometryChanged(screen->availableGeometry());
        }
        EXPECT_NE(form().size(), QSize(400, 300)) << "round " << round;
    }
}

// The contact button's picture keeps its own caption font whatever font the
// desktop gives the application.
TEST_F(FormTest, TheContactButtonsPictureKeepsItsFontWhateverTheDesktopsFont) {
    const QFont desktops = QApplication::font();
    const QImage usual = paintContactButtonPicture(1.0).toImage();
    QFont larger = desktops;
    larger.setPixelSize(desktops.pixelSize() > 0 ? desktops.pixelSize() * 2 : 24);
    QApplication::setFont(larger);
    const QImage withLarger = paintContactButtonPicture(1.0).toImage();
    QApplication::setFont(desktops);
    EXPECT_EQ(usual, withLarger);
}

}  // namespace
}  // namespace qinghe::app
