#include "app/accessibility.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <cstdlib>
#include <utility>

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

}  // namespace

void makeAccessible(MainForm& f) {
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
        f.编辑框正常工作天数,
        f.编辑框病假工资比例,
        f.单选框原版规则,
        f.单选框现行规则,
        f.编辑框专项附加扣除,
        f.编辑框其他扣除,
        f.选择框上年收入不超过6万元,
        f.图形按钮1,
    };
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    // Inside the grid the arrow keys move; Tab goes on to the next control.
    f.高级表格1->table()->setTabKeyNavigation(false);

    for (int page = 0; page < f.高级选择夹1->pageCount(); ++page)
        tieLabels(f.高级选择夹1->page(page));
    tieLabels(f.分组框1);

    const std::pair<QWidget*, const char*> kOwnNames[] = {
        {f.高级选择夹1, "页面"},   {f.日期框1, "日期"},   {f.进度条1, "本月进度"},
        {f.高级表格1, "加班明细"}, {f.画板1, "使用说明"}, {f.图形按钮1, kContactButtonCaption},
    };
    for (const auto& [control, name] : kOwnNames)
        control->setAccessibleName(QString::fromUtf8(name));

    f.installEventFilter(new EnterClicksButtons(&f));
}

}  // namespace qinghe::app
