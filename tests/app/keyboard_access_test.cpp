// The window with the keyboard alone and through a screen reader: Tab walks
// each page in reading order, Enter clicks the focused button, Ctrl+Tab
// turns the pages, every control has an object name and an accessible name
// (each box tied to its label), and the boxes that take words take them from
// the desktop's input method.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include "app/form_fixture.h"
#include "common/gbk.h"
#include "ui/choice_controls.h"
#include "ui/drawing_panel.h"
#include "ui/grid/grid.h"
#include "ui/page_control.h"
#include "ui/transparent_label.h"
#include "wages/pay_form.h"

// Names print as text in failures.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace qinghe::app {
namespace {

// The control (a named child of a page, the group or the panel) that has
// the keyboard focus, by its name; "headers" for the page headers.
QString focusedControl(MainForm& form) {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w == form.高级选择夹1->headers()) return QStringLiteral("headers");
        if (!w->objectName().isEmpty()) return w->objectName();
    }
    return QStringLiteral("(none)");
}

// The controls that Tab reaches from the headers of `page`, forwards or
// backwards, until it is back at the headers.
QStringList tabWalk(MainForm& form, int page, Qt::Key key) {
    form.高级选择夹1->setCurrentPage(page);
    form.高级选择夹1->headers()->setFocus(Qt::TabFocusReason);
    QStringList walk;
    for (int step = 0; step < 100; ++step) {
        QTest::keyClick(QApplication::focusWidget(), key);
        const QString name = focusedControl(form);
        if (name == QStringLiteral("headers")) break;
        // Tab also steps through the year, month and day of the date.
        if (walk.isEmpty() || walk.back() != name) walk << name;
    }
    return walk;
}

QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* n : list) out << QString::fromUtf8(n);
    return out;
}

QString accessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

// The pages are made as the walk first shows them, in another order than
// theirs.
TEST_F(LazyFormTest, TabWalksEachPageInReadingOrderAndShiftTabWalksItBack) {
    const QStringList pages[] = {
        names({"编辑框正常工作时间工资",
               "编辑框考核岗位津贴",
               "编辑框职务津贴",
               "编辑框地区津贴",
               "编辑框技能津贴",
               "编辑框夜班津贴",
               "编辑框特殊岗位津贴",
               "编辑框1加班小时数",
               "编辑框2加班小时数",
               "编辑框3加班小时数",
               "编辑框事假时数",
               "编辑框病假时数",
               "编辑框旷工时数",
               "编辑框社保代扣",
               "编辑框住房公积金代扣",
               "编辑框伙食费代扣",
               "编辑框住宿费代扣",
               "编辑框其它减项",
               "编辑框其它加项",
               "按钮导入",
               "日期框1",
               "选择框夜班",
               "单选框加班1",
               "单选框加班2",
               "单选框加班3",
               "单选框事假",
               "单选框病假",
               "单选框旷工",
               "组合框",
               "按钮加班记录",
               "按钮刷新",
               "按钮修改数据库密码",
               "按钮读取数据库",
               "按钮删除",
               "按钮数据库排序",
               "按钮数据库清空",
               "按钮结果输出"}),
        names({"高级表格1", "按钮表格刷新"}),
        names({"按钮上月", "按钮下月", "单选框月历", "单选框全年", "月历1"}),
        names({"编辑框正常工作天数", "编辑框病假工资比例", "单选框原版规则", "单选框现行规则",
               "编辑框专项附加扣除", "编辑框其他扣除", "选择框上年收入不超过6万元"}),
        names({"图形按钮1"}),
    };
    for (int page : {kPageHelp, kPageCalendar, kPageWages, kPageSettings, kPageJournal}) {
        EXPECT_EQ(tabWalk(form(), page, Qt::Key_Tab), pages[page]) << "page " << page;
        QStringList back = pages[page];
        std::reverse(back.begin(), back.end());
        EXPECT_EQ(tabWalk(form(), page, Qt::Key_Backtab), back) << "page " << page;
    }
}

TEST_F(FormTest, EveryControlHasItsTableNameAndAnAccessibleName) {
    const QList<QWidget*> all = controls(form());
    EXPECT_EQ(all.size(), 117);  // every control of the layout, the timer aside
    for (QWidget* w : all) {
        EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
        EXPECT_FALSE(accessibleName(w).isEmpty()) << w->objectName().toStdString();
    }
}

// The labels that a screen reader reads for `box` (in the journal group, the
// group's title too).
QStringList labelsOf(QWidget* box) {
    QStringList names;
    for (const auto& [label, relation] :
         QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label)) {
        names << label->text(QAccessible::Name);
    }
    return names;
}

TEST_F(FormTest, EachBoxIsNamedAndLabelledByTheCaptionBesideIt) {
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        QWidget* box = form().*row.box;
        const QString key = QString::fromStdString(gbk::toUtf8(row.key));
        const QString name = accessibleName(box);
        EXPECT_TRUE(name.startsWith(key) && !name.endsWith(u'：'))
            << box->objectName().toStdString() << ": " << name.toStdString();
        EXPECT_EQ(labelsOf(box), QStringList{name + QStringLiteral("：")})
            << box->objectName().toStdString();
    }
    // A drop-down list's name is its text on Linux; its label says what it is.
    EXPECT_EQ(labelsOf(form().组合框),
              (QStringList{QStringLiteral("加班小时数或备注："), QStringLiteral("数据库操作")}));
}

TEST(KeyboardAccess, EnterClicksTheFocusedButtonAndNothingElse) {
    MainForm form(makeDateTime(2013, 10, 8, 9, 30, 0));
    // Every button in sight, those too that only the current rules show.
    for (QWidget* control : controls(form)) {
        if (qobject_cast<QAbstractButton*>(control)) control->show();
    }
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    for (QWidget* control : controls(form)) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (!button) continue;
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            for (int page = 0; page < form.高级选择夹1->pageCount(); ++page) {
                if (form.高级选择夹1->page(page)->isAncestorOf(button))
                    form.高级选择夹1->setCurrentPage(page);
            }
            button->setFocus(Qt::TabFocusReason);
            QSignalSpy clicked(button, &QAbstractButton::clicked);
            QTest::keyClick(button, key);
            EXPECT_TRUE(clicked.wait(500)) << button->objectName().toStdString();
        }
    }
    // Enter in a box clicks nothing.
    form.高级选择夹1->setCurrentPage(kPageWages);
    form.编辑框社保代扣->setFocus(Qt::TabFocusReason);
    QSignalSpy result(form.按钮结果输出, &QAbstractButton::clicked);
    QTest::keyClick(form.编辑框社保代扣, Qt::Key_Return);
    EXPECT_FALSE(result.wait(300));
}

TEST_F(FormTest, CtrlTabTurnsThePagesFromAnywhere) {
    form().编辑框社保代扣->setFocus(Qt::TabFocusReason);
    for (int expected : {1, 2, 3, 4, 0, 1}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(form().高级选择夹1->currentPage(), expected);
        EXPECT_EQ(focusedControl(form()), QStringLiteral("headers"));
    }
    form().高级表格1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form().高级选择夹1->currentPage(), 0);
}

// What an input method gives: the typed letters as preedit, then the chosen
// characters committed.
void typeThroughInputMethod(QWidget* box, const QString& letters, const QString& chosen) {
    box->setFocus(Qt::TabFocusReason);
    QInputMethodEvent preedit(letters, {});
    QApplication::sendEvent(QApplication::focusWidget(), &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(chosen);
    QApplication::sendEvent(QApplication::focusWidget(), &commit);
}

TEST_F(FormTest, TheRemarkAndSettingsBoxesTakeChineseFromAnInputMethod) {
    form().组合框->lineEdit()->clear();
    typeThroughInputMethod(form().组合框, QStringLiteral("zaoban"), QStringLiteral("早班"));
    EXPECT_EQ(form().组合框->currentText(), QStringLiteral("早班"));

    form().高级选择夹1->setCurrentPage(kPageSettings);
    for (ui::EditBox* box : {form().编辑框正常工作天数, form().编辑框病假工资比例}) {
        box->clear();
        typeThroughInputMethod(box, QStringLiteral("ershiyi"), QStringLiteral("二十一"));
        EXPECT_EQ(box->text(), QStringLiteral("二十一")) << box->objectName().toStdString();
    }
    // The pay boxes take digits only, so they ask for no input method.
    form().高级选择夹1->setCurrentPage(kPageWages);
    form().编辑框社保代扣->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(form().编辑框社保代扣->testAttribute(Qt::WA_InputMethodEnabled));
}

}  // namespace
}  // namespace qinghe::app
