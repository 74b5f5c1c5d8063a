// The layout on the screen it runs on: the window as laid out where the
// screen holds it, shrunk to the screen with scrolling pages where it does
// not; every caption and text fits its control; the pictures are painted at
// the screen's device pixel ratio. CTest runs this on a desktop's screen and
// again at scales 1.5 and 2 and on two small screens (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QWindow>

#include "app/form_fixture.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/stacked_caption_button.h"
#include "ui/transparent_label.h"

namespace qinghe::app {
namespace {

using Layout = FormTest;

// The width the control gives its text, and the text; an empty text for a
// control that shows none or draws its own (the stacked caption, pictures).
std::pair<int, QString> textPlace(QWidget* w) {
    if (auto* label = qobject_cast<ui::TransparentLabel*>(w)) {
        return {label->contentsRect().width(), label->text()};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<QCheckBox*>(w)) contents = QStyle::SE_CheckBoxContents;
        if (qobject_cast<QRadioButton*>(w)) contents = QStyle::SE_RadioButtonContents;
        if (qobject_cast<ui::StackedCaptionButton*>(w)) return {0, QString()};
        return {button->style()->subElementRect(contents, &option, button).width(), button->text()};
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // Inside its frame and text margins a line edit keeps 2 pixels a side.
        const int frame =
            edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QMargins margins = edit->textMargins();
        return {edit->width() - 2 * frame - margins.left() - margins.right() - 4, edit->text()};
    }
    if (auto* list = qobject_cast<QComboBox*>(w)) {
        return {list->lineEdit()->width(), list->currentText()};
    }
    if (auto* date = qobject_cast<ui::DatePicker*>(w)) {
        return {date->findChild<QLineEdit*>()->width(), date->text()};
    }
    return {0, QString()};
}

void expectEveryTextFits(MainForm& form, const char* when) {
    for (QWidget* w : controls(form)) {
        const auto [width, text] = textPlace(w);
        if (text.isEmpty()) continue;
        const int needed = w->fontMetrics().horizontalAdvance(text);
        EXPECT_LE(needed, width) << when << ": " << w->objectName().toStdString() << " \""
                                 << text.toStdString() << "\" at ratio " << w->devicePixelRatioF();
    }
    const QTabBar* headers = form.高级选择夹1->headers();
    EXPECT_LE(headers->tabRect(headers->count() - 1).right(), form.高级选择夹1->width());
}

TEST_F(Layout, EveryTextFitsItsControl) {
    expectEveryTextFits(form(), "as the window opens");
    QTest::mouseClick(form().按钮结果输出, Qt::LeftButton);
    expectEveryTextFits(form(), "with the results");
}

TEST_F(Layout, TheWindowFitsItsScreenAndOnlyASmallerOneMakesThePagesScroll) {
    const QRect area = form().screen()->availableGeometry();
    const QMargins frame = form().windowHandle()->frameMargins();
    const QSize room =
        area.size() - QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize laidOut(kWindowWidth, kWindowHeight);
    const bool shrunk = !(laidOut.width() <= room.width() && laidOut.height() <= room.height());
    if (shrunk) {
        EXPECT_TRUE(QRect(QPoint(), room).contains(QRect(QPoint(), form().size())));
    } else {
        EXPECT_EQ(form().size(), laidOut);
    }
    // Down only when the page control itself does not fit (the window's
    // margin gives way first); sideways only when the screen is too narrow
    // for the page and its bar.
    const bool down = room.height() < kPageControlHeight;
    const int bar = form().style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const bool sideways = room.width() < kPageControlWidth + (down ? bar : 0);

    for (int page = 0; page < form().高级选择夹1->pageCount(); ++page) {
        form().高级选择夹1->setCurrentPage(page);
        QTest::qWait(10);
        // A page lies in the viewport of its scroll area.
        const auto* scroller = qobject_cast<QScrollArea*>(
            form().高级选择夹1->page(page)->parentWidget()->parentWidget());
        ASSERT_NE(scroller, nullptr);
        EXPECT_EQ(scroller->verticalScrollBar()->isVisible(), down) << "page " << page;
        EXPECT_EQ(scroller->horizontalScrollBar()->isVisible(), sideways) << "page " << page;
    }
    // Whatever the size, Tab brings the controls at the bottom into view.
    form().高级选择夹1->setCurrentPage(kPageWages);
    for (QWidget* control :
         {static_cast<QWidget*>(form().按钮导入), static_cast<QWidget*>(form().按钮结果输出)}) {
        QWidget* before = control->previousInFocusChain();
        while (!before->isVisible()) before = before->previousInFocusChain();  // 现行规则's
        before->setFocus(Qt::TabFocusReason);
        QTest::keyClick(before, Qt::Key_Tab);
        ASSERT_TRUE(control->hasFocus()) << control->objectName().toStdString();
        EXPECT_EQ(control->visibleRegion().boundingRect(), control->rect())
            << control->objectName().toStdString();
    }
}

TEST_F(Layout, PicturesArePaintedAtTheScreensPixelRatio) {
    form().高级选择夹1->setCurrentPage(kPageHelp);
    const qreal ratio = form().devicePixelRatioF();
    const QImage& canvas = form().画板1->canvas();
    EXPECT_EQ(canvas.devicePixelRatio(), ratio);
    EXPECT_EQ(canvas.size(), form().画板1->size() * ratio);
}

}  // namespace
}  // namespace qinghe::app
