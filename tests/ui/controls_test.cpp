// The controls driven as a person drives them: typing, clicking, dragging.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include "common/gbk.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/gbk_validator.h"
#include "ui/page_control.h"
#include "ui/progress_bar.h"
#include "ui/transparent_label.h"

namespace qinghe::ui {
namespace {

using namespace literals;

struct TypingCase {
    const char* typed;
    const char* shown;
};

TEST(PayBox, RefusesAllButDigitsMinusAndPointAsTyped) {
    const TypingCase cases[] = {
        {"1820", "1820"}, {"12a3", "123"},
        {"-1.5", "-1.5"}, {"1-2.3.", "1-2.3."},           // "-" and "." anywhere
        {"a b+c,e", ""},  {"12345678901", "1234567890"},  // the eleventh character is refused
    };
    for (const auto& c : cases) {
        EditBox box(EditStyle::payBox, nullptr);
        QTest::keyClicks(&box, QString::fromUtf8(c.typed));
        EXPECT_EQ(box.text(), QString::fromUtf8(c.shown)) << c.typed;
    }
}

TEST(PayBox, ControlKeysPassAndProgramTextIsNotFiltered) {
    EditBox box(EditStyle::payBox, nullptr);
    box.setTextGbk("1,820元"_gbk);  // an imported text stays as stored
    EXPECT_EQ(box.textGbk(), "1,820元"_gbk);
    box.clear();
    QTest::keyClicks(&box, QStringLiteral("123"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClicks(&box, QStringLiteral("9"));
    EXPECT_EQ(box.text(), QStringLiteral("192"));
    EXPECT_EQ(box.alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

TEST(FreeBox, TakesAnyTextOfAnyLength) {
    EditBox box(EditStyle::freeBox, nullptr);
    QTest::keyClicks(&box, QStringLiteral("abc 21.75 xyz 12345678"));
    EXPECT_EQ(box.text(), QStringLiteral("abc 21.75 xyz 12345678"));
}

TEST(EditBox, RefusesACharacterWithoutGbkFormAndSaysWhich) {
    EditBox box(EditStyle::freeBox, nullptr);
    box.setText(QStringLiteral("休息"));
    box.setCursorPosition(2);
    auto* validator = qobject_cast<const GbkValidator*>(box.validator());
    ASSERT_NE(validator, nullptr);
    QSignalSpy refused(validator, &GbkValidator::refused);
    QTest::keyClick(&box, Qt::Key_A);
    QTest::sendKeyEvent(QTest::KeyAction::Click, &box, Qt::Key_unknown, QString::fromUtf8("😀"),
                        Qt::NoModifier);
    EXPECT_EQ(box.text(), QStringLiteral("休息a"));
    ASSERT_EQ(refused.count(), 1);
    EXPECT_TRUE(refused.at(0).at(0).toString().contains(QString::fromUtf8("😀")));
    EXPECT_EQ(box.textGbk(), "休息a"_gbk);
}

TEST(EditBox, RaisesGotFocusAndLeftButtonReleased) {
    QWidget window;
    auto* first = new EditBox(EditStyle::payBox, &window);
    auto* second = new EditBox(EditStyle::payBox, &window);
    second->move(0, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    first->setFocus();
    QSignalSpy focus(second, &EditBox::gotFocus);
    QSignalSpy released(second, &EditBox::leftButtonReleased);
    second->setTextGbk("5");  // writing the text does not raise got focus
    EXPECT_EQ(focus.count(), 0);
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(focus.count(), 1);
    QTest::mouseClick(second, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 3));
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released.at(0).at(0).toInt(), 7);
    EXPECT_EQ(released.at(0).at(1).toInt(), 3);
    EXPECT_EQ(released.at(0).at(2).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    QTest::mouseClick(second, Qt::RightButton);
    EXPECT_EQ(released.count(), 1);
}

TEST(TransparentLabel, KeepsGbkCaptionsAndWidensForALongOne) {
    TransparentLabel label(nullptr);
    label.resize(126, 15);
    label.setCaptionGbk("G1工资：17.415"_gbk);
    EXPECT_EQ(label.captionGbk(), "G1工资：17.415"_gbk);
    EXPECT_EQ(label.width(), 126);
    label.setCaptionGbk("个人所得税代扣:无法计算无法计算"_gbk);
    EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(label.text()));
    EXPECT_TRUE(label.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(RadioButton, AClickAlwaysChecksAndButtonsAreNotGrouped) {
    QWidget window;
    auto* g1 = new RadioButton(QStringLiteral("加班G1"), &window);
    auto* g2 = new RadioButton(QStringLiteral("加班G2"), &window);
    g2->move(0, 30);
    QSignalSpy clicked(g1, &QAbstractButton::clicked);
    bool checkedWhenClicked = false;
    QObject::connect(g1, &QAbstractButton::clicked, [&] { checkedWhenClicked = g1->isChecked(); });
    g2->setChecked(true);
    QTest::mouseClick(g1, Qt::LeftButton);
    EXPECT_TRUE(checkedWhenClicked);
    EXPECT_TRUE(g2->isChecked());  // the handlers clear the others themselves
    QTest::mouseClick(g1, Qt::LeftButton);
    EXPECT_TRUE(g1->isChecked());  // a second click does not uncheck
    EXPECT_EQ(clicked.count(), 2);
    g1->setChecked(false);
    g2->setChecked(false);
    EXPECT_FALSE(g1->isChecked() || g2->isChecked());
}

TEST(ComboBox, ShowsAnyWrittenTextAndSelectsByIndex) {
    ComboBox box({QStringLiteral("2"), QStringLiteral("8"), QStringLiteral("10"),
                  QStringLiteral("早班"), QStringLiteral("休息"), QStringLiteral("补班")},
                 nullptr);
    box.setTextGbk("休息"_gbk);
    EXPECT_EQ(box.textGbk(), "休息"_gbk);
    box.setTextGbk("3小时"_gbk);  // not an item
    EXPECT_EQ(box.textGbk(), "3小时"_gbk);
    box.selectIndex(0);
    EXPECT_EQ(box.textGbk(), "2");
    box.lineEdit()->selectAll();
    QTest::keyClicks(box.lineEdit(), QStringLiteral("4"));
    EXPECT_EQ(box.textGbk(), "4");
    EXPECT_EQ(box.count(), 6);  // typed texts are not added
}

TEST(DatePicker, KeepsTheTimeOfDayWhenTheUserPicksADate) {
    DatePicker picker(makeDateTime(2013, 10, 8, 9, 30, 15), nullptr);
    QSignalSpy changed(&picker, &DatePicker::userChangedDate);
    picker.setValue(makeDateTime(2014, 5, 20, 9, 30, 15));
    EXPECT_EQ(changed.count(), 0);
    picker.setDate(QDate(2014, 6, 1));  // as the calendar pop-up does
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(dateOf(picker.value()), (CivilDate{2014, 6, 1}));
    EXPECT_EQ(timeOf(picker.value()), (TimeOfDay{9, 30, 15}));
}

TEST(ProgressBar, DraggingMovesThePositionAndChangesAreRaisedOnce) {
    QWidget window;
    auto* bar = new ProgressBar(&window);
    bar->setGeometry(0, 0, 912, 16);
    bar->setMinimum(1);
    bar->setMaximum(31);
    bar->setPosition(8);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy moved(bar, &ProgressBar::positionChanged);
    bar->setPosition(8);
    EXPECT_EQ(moved.count(), 0);  // the same value is no change
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(911, 8));
    EXPECT_EQ(bar->position(), 31);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(911, 8));
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(0, 8));
    EXPECT_EQ(bar->position(), 1);
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(bar->positionAt(455), 16);
}

TEST(PageControl, PagesShowTheirControlsAndEveryChangeIsRaised) {
    PageControl pages({QStringLiteral("一"), QStringLiteral("二")}, nullptr);
    pages.resize(893, 720);
    auto* onFirst = new QWidget;
    auto* onSecond = new QWidget;
    pages.place(0, onFirst, {19, 40, 125, 15});
    pages.place(1, onSecond, {0, 24, 832, 696});
    pages.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pages));
    EXPECT_EQ(onFirst->mapTo(&pages, QPoint(0, 0)), QPoint(19, 40));
    EXPECT_EQ(onSecond->mapTo(&pages, QPoint(0, 0)), QPoint(0, 24));

    std::vector<std::pair<int, bool>> seen;  // page and whether its control was visible
    QObject::connect(&pages, &PageControl::pageChanged, [&] {
        seen.emplace_back(pages.currentPage(),
                          (pages.currentPage() == 0 ? onFirst : onSecond)->isVisible());
    });
    EXPECT_TRUE(onFirst->isVisible());
    EXPECT_FALSE(onSecond->isVisible());
    QTest::mouseClick(pages.headers(), Qt::LeftButton, {}, pages.headers()->tabRect(1).center());
    pages.setCurrentPage(0);
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{1, true}, {0, true}}));
}

}  // namespace
}  // namespace qinghe::ui
