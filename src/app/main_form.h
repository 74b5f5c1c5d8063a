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
// area, first into its margin below and beside the page control; only when
// the page control itself does not fit do its pages scroll. It grows back
// when the area does, and follows the window to another screen. Its page control
// has five pages: kPageWages "工资计算", kPageJournal "加班明细", kPageCalendar
// "月历", kPageSettings "设置" and kPageHelp "使用说明". Places are pixels relative to the
// container: the page control for controls on a page (pages begin at
// y = 24), the group box or the drawing panel for the controls inside them.
//
// The controls of 工资计算 are made with the window; those of every other
// page when the page is first shown, or when whatever needs them sooner asks
// (buildPage). Until then that page's members are null: a pay box not made
// yet holds its opening text (wages::payBoxes), and the choice of rules
// lives in the program's context (rules_choice.h). The handlers of a page's
// controls and of its opening run only once it is made; each page's pay
// boxes open with their texts when it is made.
//
// Colours: red marks the items the window presents as base pay, blue the
// month's hour limits, light blue the overtime-so-far, holiday and warning
// labels, rose gross and net pay.
#pragma once

#include <QMargins>
#include <QMetaObject>
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
class QScreen;
class QTimer;

namespace qinghe::app {
class CalendarView;
class ChartView;
}  // namespace qinghe::app

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
// The page control at the window's top left; the window's margin below and
// beside it is the first to give way on a smaller screen.
inline constexpr int kPageControlWidth = 893;
inline constexpr int kPageControlHeight = 720;
inline constexpr int kClockIntervalMs = 1000;

inline constexpr int kPageWages = 0;
inline constexpr int kPageJournal = 1;
inline constexpr int kPageCalendar = 2;
inline constexpr int kPageSettings = 3;
inline constexpr int kPageHelp = 4;

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

    // Makes the controls of page `page` (kPage...) unless they are made.
    void buildPage(int page);
    // Makes every page: for what walks all of the window's controls.
    void buildAllPages();
    bool isPageBuilt(int page) const;

  signals:
    // Once, when the window has been created, before it is shown.
    void created();
    // Once, when the window is about to go for good (its close box, or a
    // requested close); the program ends after it.
    void destroying();
    // A page's controls were made (their tab order and names set).
    void pageBuilt(int page);

  public:
    ui::PageControl* 高级选择夹1 = nullptr;
    QTimer* 时钟1 = nullptr;

    // Page "工资计算": the captions of the pay form.
    ui::TransparentLabel* 透明标签1 = nullptr;
    ui::TransparentLabel* 透明标签12 = nullptr;
    ui::TransparentLabel* 透明标签13 = nullptr;
    ui::TransparentLabel* 透明标签29 = nullptr;
    ui::TransparentLabel* 透明标签37 = nullptr;
    ui::TransparentLabel* 透明标签38 = nullptr;
    ui::TransparentLabel* 透明标签39 = nullptr;
    ui::TransparentLabel* 透明标签40 = nullptr;
    ui::TransparentLabel* 透明标签41 = nullptr;
    ui::TransparentLabel* 透明标签42 = nullptr;
    ui::TransparentLabel* 透明标签30 = nullptr;
    ui::TransparentLabel* 透明标签31 = nullptr;
    ui::TransparentLabel* 透明标签32 = nullptr;
    ui::TransparentLabel* 透明标签33 = nullptr;
    ui::TransparentLabel* 透明标签34 = nullptr;
    ui::TransparentLabel* 透明标签35 = nullptr;
    ui::TransparentLabel* 透明标签36 = nullptr;
    ui::TransparentLabel* 透明标签5 = nullptr;
    ui::TransparentLabel* 透明标签6 = nullptr;
    QPushButton* 按钮导入 = nullptr;
    ui::ProgressBar* 进度条1 = nullptr;

    // The results and the month's limits.
    ui::TransparentLabel* 标签G1工资 = nullptr;
    ui::TransparentLabel* 标签G2工资 = nullptr;
    ui::TransparentLabel* 标签G3工资 = nullptr;
    ui::TransparentLabel* 标签加班费总和 = nullptr;
    ui::TransparentLabel* 标签事假减项 = nullptr;
    ui::TransparentLabel* 标签病假减项 = nullptr;
    ui::TransparentLabel* 标签旷工减项 = nullptr;
    ui::TransparentLabel* 标签应发工资 = nullptr;
    ui::TransparentLabel* 标签个人所得税代扣 = nullptr;
    ui::TransparentLabel* 标签实发工资 = nullptr;
    ui::TransparentLabel* 标签本月G1最多小时数 = nullptr;
    ui::TransparentLabel* 标签本月G2最多小时数 = nullptr;
    ui::TransparentLabel* 标签本月G3最多小时数 = nullptr;
    ui::TransparentLabel* 标签本月最多加班小时数 = nullptr;
    ui::TransparentLabel* 标签本月已加班 = nullptr;
    ui::TransparentLabel* 标签本月节假日 = nullptr;
    // Which rules the figures follow, and the month's announced days off and
    // make-up working days (under 现行规则).
    ui::TransparentLabel* 标签计算规则 = nullptr;
    ui::TransparentLabel* 标签本月放假安排 = nullptr;
    ui::TransparentLabel* 标签正常班时薪 = nullptr;
    ui::TransparentLabel* 标签正常8小时薪资 = nullptr;
    ui::TransparentLabel* 标签正常10小时薪资 = nullptr;
    ui::TransparentLabel* 标签G1时薪 = nullptr;
    ui::TransparentLabel* 标签G2时薪 = nullptr;
    ui::TransparentLabel* 标签周六日8小时薪资 = nullptr;
    ui::TransparentLabel* 标签周六日10小时薪资 = nullptr;
    ui::TransparentLabel* 标签G3时薪 = nullptr;
    ui::TransparentLabel* 标签节假日8小时薪资 = nullptr;
    ui::TransparentLabel* 标签节假日10小时薪资 = nullptr;
    // The status line: what the last step did ("已记录 10月8日 加班G1 2小时",
    // "密码已修改"), or why the figures cannot be calculated.
    ui::TransparentLabel* 标签状态 = nullptr;

    // The journal group box and what lies in it (its six kind-of-day radio
    // buttons are the members of journal::DayKindButtons).
    QGroupBox* 分组框1 = nullptr;
    ui::TransparentLabel* 标签当前统计到的加班日期 = nullptr;
    QPushButton* 按钮结果输出 = nullptr;
    ui::DatePicker* 日期框1 = nullptr;
    ui::TransparentLabel* 透明标签2 = nullptr;
    QPushButton* 按钮加班记录 = nullptr;
    QPushButton* 按钮刷新 = nullptr;
    QPushButton* 按钮修改数据库密码 = nullptr;
    QPushButton* 按钮读取数据库 = nullptr;
    QPushButton* 按钮数据库排序 = nullptr;
    QCheckBox* 选择框夜班 = nullptr;
    ui::ComboBox* 组合框 = nullptr;
    QPushButton* 按钮删除 = nullptr;
    QPushButton* 按钮数据库清空 = nullptr;

    // Under 现行规则 only (rules_choice.h): the months the tax was built
    // from, and the pay record's buttons beside "结果输出".
    ui::TransparentLabel* 标签个税累计月份 = nullptr;
    QPushButton* 按钮工资记录 = nullptr;
    QPushButton* 按钮记入工资记录 = nullptr;

    // Page "加班明细".
    ui::Grid* 高级表格1 = nullptr;
    ui::StackedCaptionButton* 按钮表格刷新 = nullptr;

    // Page "月历": the month of 日期框1 as a calendar, or its year as a chart
    // (journal_views.h), the one that its button chooses; the buttons that
    // step a month.
    QPushButton* 按钮上月 = nullptr;
    QPushButton* 按钮下月 = nullptr;
    ui::RadioButton* 单选框月历 = nullptr;
    ui::RadioButton* 单选框全年 = nullptr;
    CalendarView* 月历1 = nullptr;
    ChartView* 年图1 = nullptr;

    // Page "设置".
    ui::TransparentLabel* 透明标签3 = nullptr;
    ui::TransparentLabel* 透明标签4 = nullptr;
    ui::TransparentLabel* 透明标签7 = nullptr;
    // The choice of rules: "计算规则：" and one button for each choice.
    ui::TransparentLabel* 透明标签8 = nullptr;
    ui::RadioButton* 单选框原版规则 = nullptr;
    ui::RadioButton* 单选框现行规则 = nullptr;
    // The tax settings of 现行规则 (settings.h), and the common amounts of
    // the special additional deductions beside them.
    ui::TransparentLabel* 透明标签专项附加扣除 = nullptr;
    ui::EditBox* 编辑框专项附加扣除 = nullptr;
    ui::TransparentLabel* 透明标签其他扣除 = nullptr;
    ui::EditBox* 编辑框其他扣除 = nullptr;
    QCheckBox* 选择框上年收入不超过6万元 = nullptr;
    ui::TransparentLabel* 透明标签常用扣除额 = nullptr;

    // Page "使用说明".
    ui::DrawingPanel* 画板1 = nullptr;
    ui::PictureButton* 图形按钮1 = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    // The page maker of 高级选择夹1; `now` is for the date picker.
    void makePage(int page, DateTime now);
    void buildWagesPage(DateTime now);
    void buildJournalPage();
    void buildCalendarPage();
    void buildSettingsPage();
    void buildHelpPage();

    void centreOnScreen();
    // Sizes the window to its screen (see above); true when the size changed.
    bool fitToScreen();
    // Fits the window to `screen`, and again whenever its area changes.
    void followScreen(QScreen* screen);
    void queueClose();

    bool started_ = false;
    bool startingUp_ = false;  // inside `created`
    bool closeRequested_ = false;
    bool closing_ = false;
    QMargins fittedFrame_;  // the frame that the last fit allowed for
    // The window's own screen changes, and the area changes of the screen it
    // is on: each connected once, the latter to the present screen only.
    QMetaObject::Connection screenChanges_;
    QMetaObject::Connection areaChanges_;
};

}  // namespace qinghe::app
