// The controls driven as a person drives them: typing, clicking, dragging.
#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

#include "common/gbk.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/gbk_validator.h"
#include "ui/page_control.h"
#include "ui/progress_bar.h"
#include "ui/stacked_caption_button.h"
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
        EditBox box(EditStyle::PayBox, nullptr);
        QTest::keyClicks(&box, QString::fromUtf8(c.typed));
        EXPECT_EQ(box.text(), QString::fromUtf8(c.shown)) << c.typed;
    }
}

TEST(PayBox, PastingIsFilteredWholeAndTheProgramsTextIsStoredWhole) {
    struct Case {
        const char* before;  // set by the program
        const char* pasted;
        const char* after;
    };
    const Case cases[] = {
        {"12", "345", "12345"},
        {"12", "3a5", "12"},              // refused whole, not filtered
        {"12345678", "901", "12345678"},  // would make eleven characters
        {"12345678", "90", "1234567890"},
        {"", "1\t2", ""},              // a control character is not a digit either
        {"1,820元", "5", "1,820元5"},  // the odd characters were there before
        {"123456789012", "3", "123456789012"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        EditBox box(EditStyle::PayBox, nullptr);
        box.setTextGbk(gbk::fromUtf8(c.before).text);
        EXPECT_EQ(box.text(), QString::fromUtf8(c.before)) << "stored whole";
        QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        box.end(false);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box.text(), QString::fromUtf8(c.after));
    }
}

TEST(PayBox, ALongOrOddTextSetByTheProgramCanOnlyBeShortened) {
    EditBox box(EditStyle::PayBox, nullptr);
    box.setTextGbk("123456789012.5");
    QTest::keyClicks(&box, QStringLiteral("7"));
    EXPECT_EQ(box.text(), QStringLiteral("123456789012.5"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("123456789012"));
    box.setTextGbk("1,820元"_gbk);
    QTest::keyClicks(&box, QStringLiteral(","));
    EXPECT_EQ(box.textGbk(), "1,820元"_gbk);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, QStringLiteral("9"));
    EXPECT_EQ(box.text(), QStringLiteral("9,820"));
    box.selectAll();
    QTest::keyClicks(&box, QStringLiteral("5"));
    EXPECT_EQ(box.text(), QStringLiteral("5"));
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClicks(&box, QStringLiteral("-"));
    EXPECT_EQ(box.text(), QStringLiteral("-5"));
    EXPECT_EQ(box.alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

TEST(FreeBox, TakesAnyTextOfAnyLength) {
    EditBox box(EditStyle::FreeBox, nullptr);
    QTest::keyClicks(&box, QStringLiteral("abc 21.75 xyz 12345678"));
    EXPECT_EQ(box.text(), QStringLiteral("abc 21.75 xyz 12345678"));
}

TEST(EditBox, RefusesACharacterWithoutGbkFormAndSaysWhich) {
    EditBox box(EditStyle::FreeBox, nullptr);
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

// A window with two pay boxes and a button, shown and active.
class FocusTest : public testing::Test {
  protected:
    void SetUp() override {
        second_->move(0, 40);
        button_->move(0, 80);
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    // How many times each box said that the user entered it.
    std::pair<int, int> entries() const {
        return {int(firstSpy_.count()), int(secondSpy_.count())};
    }

    QWidget window_;
    EditBox* first_ = new EditBox(EditStyle::PayBox, &window_);
    EditBox* second_ = new EditBox(EditStyle::PayBox, &window_);
    QPushButton* button_ = new QPushButton(QStringLiteral("按钮"), &window_);
    QSignalSpy firstSpy_{first_, &EditBox::gotFocus};
    QSignalSpy secondSpy_{second_, &EditBox::gotFocus};
};

TEST_F(FocusTest, GotFocusOnlyWhenTheUserEntersByAClickTabOrShiftTab) {
    first_->setFocus();  // the program's focus is not the user's entry
    EXPECT_EQ(entries(), std::make_pair(0, 0));
    QTest::keyClick(first_, Qt::Key_Tab);
    EXPECT_TRUE(second_->hasFocus());
    EXPECT_EQ(entries(), std::make_pair(0, 1));
    QTest::keyClick(second_, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(first_->hasFocus());
    EXPECT_EQ(entries(), std::make_pair(1, 1));
    QTest::mouseClick(second_, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(entries(), std::make_pair(1, 2));
    QTest::mouseClick(second_, Qt::LeftButton, {}, QPoint(5, 5));  // already in it
    EXPECT_EQ(entries(), std::make_pair(1, 2));
    // Any button enters: a right click to copy selects as a left one does.
    QTest::mouseClick(first_, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(first_->hasFocus());
    EXPECT_EQ(entries(), std::make_pair(2, 2));
    QTest::mouseClick(second_, Qt::MiddleButton, {}, QPoint(5, 5));
    EXPECT_EQ(entries(), std::make_pair(2, 3));
}

TEST_F(FocusTest, CopyingFromTheContextMenuKeepsTheBoxAsItWas) {
    second_->setTextGbk("500");
    QTest::mouseClick(second_, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(entries(), std::make_pair(0, 1));
    second_->setTextGbk("500");  // typed again after the box cleared itself
    second_->selectAll();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                second_->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(second_, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* copy = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->text().startsWith(QStringLiteral("复制"))) copy = a;  // as the user reads it
    }
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    menu->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("500"));
    EXPECT_EQ(second_->text(), QStringLiteral("500"));
    EXPECT_EQ(entries(), std::make_pair(0, 1));
}

TEST_F(FocusTest, ComingBackToTheWindowIsNotEnteringTheBox) {
    QTest::keyClick(first_, Qt::Key_Tab);
    ASSERT_EQ(entries(), std::make_pair(0, 1));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    EXPECT_TRUE(second_->hasFocus());
    EXPECT_EQ(entries(), std::make_pair(0, 1));
}

// The hours box and the date picker in a window, with a button that takes
// the focus away from them.
class ChoiceTest : public testing::Test {
  protected:
    void SetUp() override {
        box_->move(0, 0);
        date_->move(0, 30);
        button_->move(0, 60);
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    // One notch of the wheel towards the person, over `control`.
    static void wheel(QWidget* control) {
        const QPointF at(5, 5);
        QWheelEvent notch(at, control->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(control, &notch);
    }

    QWidget window_;
    ComboBox* box_ = new ComboBox({QStringLiteral("2"), QStringLiteral("8"), QStringLiteral("10"),
                                   QStringLiteral("早班"), QStringLiteral("休息")},
                                  &window_);
    DatePicker* date_ = new DatePicker(makeDateTime(2013, 10, 8, 9, 30, 0), &window_);
    QPushButton* button_ = new QPushButton(QStringLiteral("按钮"), &window_);
};

TEST_F(ChoiceTest, TheHoursBoxTakesWhatIsTypedAndShowsItWholeAsItsTooltip) {
    const TypingCase cases[] = {{"1", "1"}, {"早", "早"}};
    for (const TypingCase& c : cases) {
        QLineEdit* edit = box_->lineEdit();
        edit->clear();
        for (QChar ch : QString::fromUtf8(c.typed)) {
            if (ch.unicode() < 0x80) {
                QTest::keyClick(edit, ch.toLatin1());
            } else {  // as an input method commits it
                QInputMethodEvent commit;
                commit.setCommitString(QString(ch));
                QCoreApplication::sendEvent(edit, &commit);
            }
        }
        EXPECT_EQ(box_->currentText(), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(box_->toolTip(), QString::fromUtf8(c.shown)) << c.typed;
    }
    box_->setTextGbk("出差一天回来晚了"_gbk);
    EXPECT_EQ(box_->toolTip(), QStringLiteral("出差一天回来晚了"));
}

TEST_F(ChoiceTest, TheWheelMovesOnlyAFocusedControl) {
    const std::pair<QWidget*, std::function<QString()>> controls[] = {
        {box_, [this] { return box_->currentText(); }},
        {date_, [this] { return date_->date().toString(Qt::ISODate); }},
    };
    QSignalSpy picked(date_, &DatePicker::userChangedDate);
    for (const auto& [control, value] : controls) {
        SCOPED_TRACE(control->metaObject()->className());
        button_->setFocus();
        const QString before = value();
        wheel(control);
        EXPECT_EQ(value(), before) << "unfocused";
        EXPECT_FALSE(control->hasFocus()) << "the wheel gives no focus";
        control->setFocus(Qt::TabFocusReason);
        wheel(control);
        EXPECT_NE(value(), before) << "focused";
    }
    EXPECT_EQ(picked.count(), 1) << "the date routine ran for the focused wheel only";
}

TEST(EditBox, RaisesLeftButtonReleasedWithWhereAndTheKeys) {
    EditBox box(EditStyle::PayBox, nullptr);
    QSignalSpy released(&box, &EditBox::leftButtonReleased);
    QTest::mouseClick(&box, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 3));
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released.at(0).at(0).toInt(), 7);
    EXPECT_EQ(released.at(0).at(1).toInt(), 3);
    EXPECT_EQ(released.at(0).at(2).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    QTest::mouseClick(&box, Qt::RightButton);
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

TEST(DatePicker, TheCalendarSpeaksChineseWhateverTheSessionsLocale) {
    const QLocale session;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    DatePicker picker(makeDateTime(2013, 10, 8, 9, 30, 15), nullptr);
    picker.resize(117, 16);
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(110, 8));  // the arrow
    QLocale::setDefault(session);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    auto* calendar = popup->findChild<QCalendarWidget*>();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->locale().language(), QLocale::Chinese);
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), QStringLiteral("十月"));
    popup->close();
}

TEST(StackedCaptionButton, DrawsItsCaptionOneCharacterALine) {
    StackedCaptionButton button(QStringLiteral("表格刷新"), nullptr);
    button.resize(48, 216);
    EXPECT_EQ(button.text(), QStringLiteral("表格刷新"));
    StackedCaptionButton plain(QString(), nullptr);
    plain.resize(button.size());
    const QImage blank = plain.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = button.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QRect ink;  // where the caption changed the plain button
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) != blank.pixel(x, y)) ink |= QRect(x, y, 1, 1);
        }
    }
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), 3 * button.fontMetrics().height());
    EXPECT_LE(ink.width(), 2 * button.fontMetrics().horizontalAdvance(QStringLiteral("表")));
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
    PageControl pages({QStringLiteral("一"), QStringLiteral("二")}, QSize(893, 720), nullptr);
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

TEST(PageControl, SmallerThanLaidOutItsPagesScrollToWhatTabReaches) {
    PageControl pages({QStringLiteral("一")}, QSize(400, 600), nullptr);
    auto* top = new QPushButton(QStringLiteral("上"));
    auto* bottom = new QPushButton(QStringLiteral("下"));
    pages.place(0, top, {10, 40, 80, 22});
    pages.place(0, bottom, {10, 560, 80, 22});
    pages.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pages));
    QScrollArea* scroller = pages.findChild<QScrollArea*>();
    ASSERT_NE(scroller, nullptr);
    EXPECT_FALSE(scroller->verticalScrollBar()->isVisible());  // as laid out: no bars

    pages.resize(400, 300);
    QTest::qWait(20);
    EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
    EXPECT_EQ(pages.page(0)->size(), QSize(400, 600 - PageControl::kPageTop));
    EXPECT_TRUE(bottom->visibleRegion().isEmpty());
    top->setFocus(Qt::TabFocusReason);
    QTest::keyClick(top, Qt::Key_Tab);
    ASSERT_TRUE(bottom->hasFocus());
    EXPECT_FALSE(bottom->visibleRegion().isEmpty());
}

}  // namespace
}  // namespace qinghe::ui
