#include "app/accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <cstdlib>
#include <utility>

#include "app/journal_views.h"
#include "app/main_form.h"
#include "app/pictures.h"
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

namespace qinghe::app {
namespace {

// Enter, which a push button outside a dialog leaves to its parents, clicks
// the focused button.
class EnterClicksButtons final : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && button &&
                button->window() == watched && key->modifiers() == Qt::NoModifier) {
                button->animateClick();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The caption of a label as a name: without its closing colon.
QString nameOfLabel(const ui::TransparentLabel& label) {
    QString text = label.text();
    while (text.endsWith(u'：') || text.endsWith(u':')) text.chop(1);
    return text;
}

// Ties each box of `container` to the label on its row, to its left.
void tieLabels(QWidget* container) {
    const auto labels = container->findChildren<ui::TransparentLabel*>(Qt::FindDirectChildrenOnly);
    for (QWidget* box : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<ui::EditBox*>(box) && !qobject_cast<ui::ComboBox*>(box)) continue;
        ui::TransparentLabel* beside = nullptr;
        for (ui::TransparentLabel* label : labels) {
            const bool sameRow =
                std::abs(label->geometry().center().y() - box->geometry().center().y()) <= 2;
            const bool left = label->x() < box->x();
            if (sameRow && left && (!beside || label->x() > beside->x())) beside = label;
        }
        if (!beside) continue;
        beside->setBuddy(box);
        box->setAccessibleName(nameOfLabel(*beside));
    }
}

// Builds every page of the window when an assistive technology is or
// becomes active, so that it finds every control; it goes with the window.
class BuildPagesForAssistiveTechnology final : public QObject,
                                               public QAccessible::ActivationObserver {
  public:
    explicit BuildPagesForAssistiveTechnology(MainForm& form) : QObject(&form), form_(form) {
        QAccessible::installActivationObserver(this);
        if (QAccessible::isActive()) form_.buildAllPages();
    }
    ~BuildPagesForAssistiveTechnology() override { QAccessible::removeActivationObserver(this); }
    BuildPagesForAssistiveTechnology(const BuildPagesForAssistiveTechnology&) = delete;
    BuildPagesForAssistiveTechnology& operator=(const BuildPagesForAssistiveTechnology&) = delete;

    void accessibilityActiveChanged(bool active) override {
        if (active) form_.buildAllPages();
    }

  private:
    MainForm& form_;
};

// Chains the controls made so far in reading order.
void orderTabs(MainForm& f) {
    QWidget* const order[] = {
        f.高级选择夹1->headers(),
        f.编辑框正常工作时间工资,
        f.编辑框考核岗位津贴,
        f.编辑框职务津贴,
        f.编辑框地区津贴,
        f.编辑框技能津贴,
        f.编辑框夜班津贴,
        f.编辑框特殊岗位津贴,
        f.编辑框1加班小时数,
        f.编辑框2加班小时数,
        f.编辑框3加班小时数,
        f.编辑框事假时数,
        f.编辑框病假时数,
        f.编辑框旷工时数,
        f.编辑框社保代扣,
        f.编辑框住房公积金代扣,
        f.编辑框伙食费代扣,
        f.编辑框住宿费代扣,
        f.编辑框其它减项,
        f.编辑框其它加项,
        f.按钮导入,
        f.日期框1,
        f.选择框夜班,
        f.单选框加班1,
        f.单选框加班2,
        f.单选框加班3,
        f.单选框事假,
        f.单选框病假,
        f.单选框旷工,
        f.组合框,
        f.按钮加班记录,
        f.按钮刷新,
        f.按钮修改数据库密码,
        f.按钮读取数据库,
        f.按钮删除,
        f.按钮数据库排序,
        f.按钮数据库清空,
        f.按钮工资记录,
        f.按钮记入工资记录,
        f.按钮结果输出,
        f.高级表格1,
        f.按钮表格刷新,
        f.按钮上月,
        f.按钮下月,
        f.单选框月历,
        f.单选框全年,
        f.月历1,
        f.年图1,
        f.编辑框正常工作天数,
        f.编辑框病假工资比例,
        f.单选框原版规则,
        f.单选框现行规则,
        f.编辑框专项附加扣除,
        f.编辑框其他扣除,
        f.选择框上年收入不超过6万元,
        f.图形按钮1,
    };
    QWidget* before = nullptr;
    for (QWidget* control : order) {
        if (control == nullptr) continue;  // on a page not made yet
        if (before != nullptr) QWidget::setTabOrder(before, control);
        before = control;
    }
}

}  // namespace

void makeAccessible(MainForm& f) {
    f.installEventFilter(new EnterClicksButtons(&f));
    new BuildPagesForAssistiveTechnology(f);
}

void makePageAccessible(MainForm& f, int page) {
    orderTabs(f);
    tieLabels(f.高级选择夹1->page(page));
    if (page == kPageWages) tieLabels(f.分组框1);
    // Inside the grid the arrow keys move; Tab goes on to the next control.
    if (page == kPageJournal) f.高级表格1->table()->setTabKeyNavigation(false);

    const std::pair<QWidget*, const char*> kOwnNames[] = {
        {f.高级选择夹1, "页面"},   {f.日期框1, "日期"},   {f.进度条1, "本月进度"},
        {f.高级表格1, "加班明细"}, {f.画板1, "使用说明"}, {f.图形按钮1, kContactButtonCaption},
        {f.标签状态, "状态"},
    };
    for (const auto& [control, name] : kOwnNames) {
        if (control != nullptr) control->setAccessibleName(QString::fromUtf8(name));
    }
}

}  // namespace qinghe::app
