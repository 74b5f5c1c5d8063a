// The main window: every control of the program, by its name, at its place
// with its initial text and look. Handlers read and write the controls
// through these members; event bindings live in bindings.h. The 21 pay boxes
// are the members of wages::PayForm, and open with the texts of its table;
// the six kind-of-day radio buttons are those of journal::DayKindButtons.
//
// The window is kWindowWidth x kWindowHeight, fixed, centred on the screen,
// with a close box and neither minimise nor maximise box. On a screen whose
// available area cannot hold that with the window's frame (a 1366 x 768
// laptop with a panel, a 1080-line screen at scale 1.5) it shrinks to the
// area and its pages scroll; it grows back when the area does. Its page control
// has four pages: kPageWages "工资计算", kPageJournal "加班明细", kPageSettings
// "设置" and kPageHelp "使用说明". Places are pixels relative to the
// container: the page control for controls on a page (pages begin at
// y = 24), the group box or the drawing panel for the controls inside them.
//
// Colours: red marks the items the window presents as base pay, blue the
// month's hour limits, light blue the overtime-so-far, holiday and warning
// labels, rose gross and net pay.
#pragma once

#include <QMargins>
#include <QRgb>
#include <QWidget>
#include <string>
#include <string_view>

#include "common/datetime.h"
#include "journal/day_kinds.h"
#include "wages/pay_form.h"

class QCheckBox;
class QCloseEvent;
class QGroupBox;
class QPushButton;
class QTimer;

namespace qinghe::ui {
class ComboBox;
class DatePicker;
class DrawingPanel;
class EditBox;
class Grid;
class PageControl;
class PictureButton;
class ProgressBar;
class RadioButton;
class StackedCaptionButton;
class TransparentLabel;
}  // namespace qinghe::ui

namespace qinghe::app {

inline constexpr int kWindowWidth = 898;
inline constexpr int kWindowHeight = 748;
inline constexpr int kClockIntervalMs = 1000;

inline constexpr int kPageWages = 0;
inline constexpr int kPageJournal = 1;
inline constexpr int kPageSettings = 2;
inline constexpr int kPageHelp = 3;

inline constexpr QRgb kBlackText = 0xFF000000;
inline constexpr QRgb kRedText = 0xFFFF0000;
inline constexpr QRgb kBlueText = 0xFF0000FF;
inline constexpr QRgb kLightBlueText = 0xFF0088FF;
inline constexpr QRgb kRoseText = 0xFFFF5080;

class MainForm final : public QWidget,
                       public wages::PayForm<ui::EditBox*>,
                       public journal::DayKindButtons<ui::RadioButton*> {
    Q_OBJECT
  public:
    // `now` is the local date and time the date picker starts at.
    explicit MainForm(DateTime now);

    // The window's title (GBK). Empty in the layout: until the title clock
    // writes it, the desktop shows the program's name.
    std::string captionGbk() const;
    void setCaptionGbk(std::string_view gbk);

    // Starts the window's life: raises `created` and then, unless a close
    // was requested meanwhile, centres the window on its screen and shows
    // it. Only the first call does anything.
    void start();
    // Asks the window to close once the running handler has returned (the
    // request is queued; one made during `created` waits for its end). The
    // close raises `destroying`.
    void requestClose();
    // True from the moment `destroying` is raised: the window is going away,
    // and handlers that wait (the sayings panel) stop drawing on it.
    bool isClosing() const { return closing_; }

  signals:
    // Once, when the window has been created, before it is shown.
    void created();
    // Once, when the window is about to go for good (its close box, or a
    // requested close); the program ends after it.
    void destroying();

  public:
    ui::PageControl* 高级选择夹1;
    QTimer* 时钟1;

    // Page "工资计算": the captions of the pay form.
    ui::TransparentLabel* 透明标签1;
    ui::TransparentLabel* 透明标签12;
    ui::TransparentLabel* 透明标签13;
    ui::TransparentLabel* 透明标签29;
    ui::TransparentLabel* 透明标签37;
    ui::TransparentLabel* 透明标签38;
    ui::TransparentLabel* 透明标签39;
    ui::TransparentLabel* 透明标签40;
    ui::TransparentLabel* 透明标签41;
    ui::TransparentLabel* 透明标签42;
    ui::TransparentLabel* 透明标签30;
    ui::TransparentLabel* 透明标签31;
    ui::TransparentLabel* 透明标签32;
    ui::TransparentLabel* 透明标签33;
    ui::TransparentLabel* 透明标签34;
    ui::TransparentLabel* 透明标签35;
    ui::TransparentLabel* 透明标签36;
    ui::TransparentLabel* 透明标签5;
    ui::TransparentLabel* 透明标签6;
    QPushButton* 按钮导入;
    ui::ProgressBar* 进度条1;

    // The results and the month's limits.
    ui::TransparentLabel* 标签G1工资;
    ui::TransparentLabel* 标签G2工资;
    ui::TransparentLabel* 标签G3工资;
    ui::TransparentLabel* 标签加班费总和;
    ui::TransparentLabel* 标签事假减项;
    ui::TransparentLabel* 标签病假减项;
    ui::TransparentLabel* 标签旷工减项;
    ui::TransparentLabel* 标签应发工资;
    ui::TransparentLabel* 标签个人所得税代扣;
    ui::TransparentLabel* 标签实发工资;
    ui::TransparentLabel* 标签本月G1最多小时数;
    ui::TransparentLabel* 标签本月G2最多小时数;
    ui::TransparentLabel* 标签本月G3最多小时数;
    ui::TransparentLabel* 标签本月最多加班小时数;
    ui::TransparentLabel* 标签本月已加班;
    ui::TransparentLabel* 标签本月节假日;
    // Which rules the figures follow, and the month's announced days off and
    // make-up working days (under 现行规则).
    ui::TransparentLabel* 标签计算规则;
    ui::TransparentLabel* 标签本月放假安排;
    ui::TransparentLabel* 标签正常班时薪;
    ui::TransparentLabel* 标签正常8小时薪资;
    ui::TransparentLabel* 标签正常10小时薪资;
    ui::TransparentLabel* 标签G1时薪;
    ui::TransparentLabel* 标签G2时薪;
    ui::TransparentLabel* 标签周六日8小时薪资;
    ui::TransparentLabel* 标签周六日10小时薪资;
    ui::TransparentLabel* 标签G3时薪;
    ui::TransparentLabel* 标签节假日8小时薪资;
    ui::TransparentLabel* 标签节假日10小时薪资;

    // The journal group box and what lies in it (its six kind-of-day radio
    // buttons are the members of journal::DayKindButtons).
    QGroupBox* 分组框1;
    ui::TransparentLabel* 标签当前统计到的加班日期;
    QPushButton* 按钮结果输出;
    ui::DatePicker* 日期框1;
    ui::TransparentLabel* 透明标签2;
    QPushButton* 按钮加班记录;
    QPushButton* 按钮刷新;
    QPushButton* 按钮修改数据库密码;
    QPushButton* 按钮读取数据库;
    QPushButton* 按钮数据库排序;
    QCheckBox* 选择框夜班;
    ui::ComboBox* 组合框;
    QPushButton* 按钮删除;
    QPushButton* 按钮数据库清空;

    // Under 现行规则 only (rules_choice.h): the months the tax was built
    // from, and the pay record's buttons beside "结果输出".
    ui::TransparentLabel* 标签个税累计月份;
    QPushButton* 按钮工资记录;
    QPushButton* 按钮记入工资记录;

    // Page "加班明细".
    ui::Grid* 高级表格1;
    ui::StackedCaptionButton* 按钮表格刷新;

    // Page "设置".
    ui::TransparentLabel* 透明标签3;
    ui::TransparentLabel* 透明标签4;
    ui::TransparentLabel* 透明标签7;
    // The choice of rules: "计算规则：" and one button for each choice.
    ui::TransparentLabel* 透明标签8;
    ui::RadioButton* 单选框原版规则;
    ui::RadioButton* 单选框现行规则;
    // The tax settings of 现行规则 (settings.h), and the common amounts of
    // the special additional deductions beside them.
    ui::TransparentLabel* 透明标签专项附加扣除;
    ui::EditBox* 编辑框专项附加扣除;
    ui::TransparentLabel* 透明标签其他扣除;
    ui::EditBox* 编辑框其他扣除;
    QCheckBox* 选择框上年收入不超过6万元;
    ui::TransparentLabel* 透明标签常用扣除额;

    // Page "使用说明".
    ui::DrawingPanel* 画板1;
    ui::PictureButton* 图形按钮1;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void centreOnScreen();
    // Sizes the window to its screen (see above); true when the size changed.
    bool fitToScreen();
    void queueClose();

    bool started_ = false;
    bool startingUp_ = false;  // inside `created`
    bool closeRequested_ = false;
    bool closing_ = false;
    QMargins fittedFrame_;  // the frame that the last fit allowed for
};

}  // namespace qinghe::app
