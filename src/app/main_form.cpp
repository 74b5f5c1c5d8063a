#include "app/main_form.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <initializer_list>
#include <utility>

#include "app/accessibility.h"
#include "app/journal_views.h"
#include "app/pictures.h"
#include "drawing/fonts.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/drawing_panel.h"
#include "ui/edit_box.h"
#include "ui/grid/grid.h"
#include "ui/group_box.h"
#include "ui/page_control.h"
#include "ui/picture_button.h"
#include "ui/progress_bar.h"
#include "ui/stacked_caption_button.h"
#include "ui/text.h"
#include "ui/transparent_label.h"
#include "wages/rules.h"

namespace qinghe::app {
namespace {

constexpr int kInterfacePixelSize = 12;  // the default interface font
constexpr int kHeaderPixelSize = 12;     // the page headers
constexpr int kProgressPixelSize = 12;
constexpr int kResultButtonPixelSize = 24;
constexpr int kGridRefreshPixelSize = 32;
constexpr int kWarningPixelSize = 19;

constexpr QRect kPageControlPlace{0, 0, kPageControlWidth, kPageControlHeight};
// Where either view of the page "月历" lies: the page under its buttons.
constexpr QRect kCalendarViewPlace{4, 60, 885, 656};
// However small the screen, the window keeps the headers and some of a page.
constexpr QSize kSmallestWindow{320, 240};

using ui::EditStyle;

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// `CONTROL(按钮刷新) = ...` stores a new control in its member and names it
// after the member, as the control table names it.
template <class Control>
class Named {
  public:
    Named(Control*& member, const char* name) : member_(member), name_(name) {}
    void operator=(Control* control) {
        member_ = control;
        control->setObjectName(utf8(name_));
    }

  private:
    Control*& member_;
    const char* name_;
};
#define CONTROL(member) Named(member, #member)

// Builds the controls of one container: a page of the page control, or a
// plain container (group box, drawing panel) whose own pixels are the places.
class Builder {
  public:
    Builder(ui::PageControl* pages, int page) : pages_(pages), page_(page) {}
    explicit Builder(QWidget* container) : container_(container) {}

    template <class Control>
    Control* put(Control* control, const QRect& place) const {
        if (pages_) {
            pages_->place(page_, control, place);
        } else {
            control->setParent(container_);
            control->setGeometry(place);
        }
        return control;
    }

    ui::TransparentLabel* label(const QRect& place, const char* caption,
                                QRgb colour = kBlackText) const {
        auto* l = put(new ui::TransparentLabel(nullptr, QColor::fromRgb(colour)), place);
        l->setCaption(utf8(caption));
        return l;
    }

    ui::EditBox* edit(const QRect& place, EditStyle style, QRgb colour = kBlackText) const {
        auto* e = put(new ui::EditBox(style, nullptr), place);
        e->setTextColor(QColor::fromRgb(colour));
        return e;
    }

    QPushButton* button(const QRect& place, const char* caption) const {
        return put(new QPushButton(utf8(caption)), place);
    }

    ui::RadioButton* radio(const QRect& place, const char* caption) const {
        return put(new ui::RadioButton(utf8(caption), nullptr), place);
    }

  private:
    ui::PageControl* pages_ = nullptr;
    int page_ = 0;
    QWidget* container_ = nullptr;
};

}  // namespace

MainForm::MainForm(DateTime now) : QWidget(nullptr) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kWindowWidth, kWindowHeight);
    setFont(drawing::layoutFont(kInterfacePixelSize));
    setWindowTitle(QString());

    CONTROL(高级选择夹1) = new ui::PageControl(
        {utf8("工资计算"), utf8("加班明细"), utf8("月历"), utf8("设置"), utf8("使用说明")},
        kPageControlPlace.size(), this);
    高级选择夹1->setGeometry(kPageControlPlace);
    高级选择夹1->setHeaderFont(drawing::layoutFont(kHeaderPixelSize));

    CONTROL(时钟1) = new QTimer(this);
    时钟1->setInterval(kClockIntervalMs);

    高级选择夹1->setPageMaker([this, now](int page) { makePage(page, now); });
    buildPage(kPageWages);

    makeAccessible(*this);
    时钟1->start();
}

void MainForm::buildPage(int page) {
    高级选择夹1->makePage(page);
}

void MainForm::buildAllPages() {
    for (int page = 0; page < 高级选择夹1->pageCount(); ++page) buildPage(page);
}

bool MainForm::isPageBuilt(int page) const {
    return 高级选择夹1->isMade(page);
}

void MainForm::makePage(int page, DateTime now) {
    switch (page) {
        case kPageWages:
            buildWagesPage(now);
            break;
        case kPageJournal:
            buildJournalPage();
            break;
        case kPageCalendar:
            buildCalendarPage();
            break;
        case kPageSettings:
            buildSettingsPage();
            break;
        case kPageHelp:
            buildHelpPage();
            break;
    }
    // The pay boxes of this page open with their texts of the pay-box table.
    const QWidget* made = 高级选择夹1->page(page);
    for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
        ui::EditBox* box = this->*row.box;
        if (box && made->isAncestorOf(box)) box->setTextGbk(row.openingText);
    }
    makePageAccessible(*this, page);
    emit pageBuilt(page);
}

void MainForm::buildWagesPage(DateTime now) {
    const Builder wages(高级选择夹1, kPageWages);
    CONTROL(透明标签1) = wages.label({19, 40, 125, 15}, "正常工作时间工资(元)：", kRedText);
    CONTROL(透明标签12) = wages.label({19, 72, 106, 15}, "考核岗位津贴(元)：", kRedText);
    CONTROL(透明标签13) = wages.label({19, 104, 106, 15}, "职务津贴(元)：", kRedText);
    CONTROL(透明标签29) = wages.label({19, 136, 106, 15}, "地区津贴(元)：", kRedText);
    CONTROL(透明标签37) = wages.label({19, 168, 106, 15}, "技能津贴(元)：");
    CONTROL(透明标签38) = wages.label({19, 200, 106, 15}, "夜班津贴(元)：");
    CONTROL(透明标签39) = wages.label({19, 232, 106, 15}, "特殊岗位津贴(元)：");
    CONTROL(透明标签40) = wages.label({19, 264, 115, 15}, "G1加班小时数(小时)：");
    CONTROL(透明标签41) = wages.label({19, 296, 115, 15}, "G2加班小时数(小时)：");
    CONTROL(透明标签42) = wages.label({19, 328, 115, 15}, "G3加班小时数(小时)：");
    CONTROL(透明标签30) = wages.label({19, 360, 106, 15}, "事假小时数(小时)：");
    CONTROL(透明标签31) = wages.label({19, 392, 106, 15}, "病假小时数(小时)：");
    CONTROL(透明标签32) = wages.label({19, 424, 106, 15}, "旷工小时数(小时)：");
    CONTROL(透明标签33) = wages.label({19, 456, 106, 15}, "社保代扣(元)：");
    CONTROL(透明标签34) = wages.label({19, 488, 115, 15}, "住房公积金代扣(元)：");
    CONTROL(透明标签35) = wages.label({19, 520, 106, 15}, "伙食费代扣(元)：");
    CONTROL(透明标签36) = wages.label({19, 552, 106, 15}, "住宿费代扣(元)：");
    CONTROL(透明标签5) = wages.label({19, 584, 115, 15}, "其它减项：");
    CONTROL(透明标签6) = wages.label({19, 616, 115, 15}, "其它加项：");
    CONTROL(按钮导入) = wages.button({24, 656, 168, 24}, "导入最后一次输入的数据");
    CONTROL(进度条1) = wages.put(new ui::ProgressBar(nullptr), {0, 688, 912, 16});
    进度条1->setFont(drawing::withPixelSize(font(), kProgressPixelSize));

    const EditStyle pay = EditStyle::PayBox;
    CONTROL(编辑框正常工作时间工资) = wages.edit({153, 39, 56, 16}, pay, kRedText);
    CONTROL(编辑框考核岗位津贴) = wages.edit({152, 72, 56, 16}, pay, kRedText);
    CONTROL(编辑框职务津贴) = wages.edit({152, 104, 56, 16}, pay, kRedText);
    CONTROL(编辑框地区津贴) = wages.edit({152, 136, 56, 16}, pay, kRedText);
    CONTROL(编辑框技能津贴) = wages.edit({152, 168, 56, 16}, pay);
    CONTROL(编辑框夜班津贴) = wages.edit({152, 200, 56, 16}, pay);
    CONTROL(编辑框特殊岗位津贴) = wages.edit({152, 232, 56, 16}, pay);
    CONTROL(编辑框1加班小时数) = wages.edit({152, 264, 56, 16}, pay);
    CONTROL(编辑框2加班小时数) = wages.edit({152, 296, 56, 16}, pay);
    CONTROL(编辑框3加班小时数) = wages.edit({152, 328, 56, 16}, pay);
    CONTROL(编辑框事假时数) = wages.edit({152, 360, 56, 16}, pay);
    CONTROL(编辑框病假时数) = wages.edit({152, 392, 56, 16}, pay);
    CONTROL(编辑框旷工时数) = wages.edit({152, 424, 56, 16}, pay);
    CONTROL(编辑框社保代扣) = wages.edit({152, 456, 56, 16}, pay);
    CONTROL(编辑框住房公积金代扣) = wages.edit({152, 488, 56, 16}, pay);
    CONTROL(编辑框伙食费代扣) = wages.edit({152, 520, 56, 16}, pay);
    CONTROL(编辑框住宿费代扣) = wages.edit({152, 552, 56, 16}, pay);
    CONTROL(编辑框其它减项) = wages.edit({152, 583, 56, 16}, pay);
    CONTROL(编辑框其它加项) = wages.edit({152, 615, 56, 16}, pay);

    CONTROL(标签G1工资) = wages.label({264, 40, 126, 15}, "标签G1工资");
    CONTROL(标签G2工资) = wages.label({264, 72, 126, 15}, "标签G2工资");
    CONTROL(标签G3工资) = wages.label({264, 104, 126, 15}, "标签G3工资");
    CONTROL(标签加班费总和) = wages.label({264, 136, 126, 15}, "标签加班费总和");
    CONTROL(标签事假减项) = wages.label({264, 168, 126, 15}, "标签事假减项");
    CONTROL(标签病假减项) = wages.label({264, 200, 126, 15}, "标签病假减项");
    CONTROL(标签旷工减项) = wages.label({264, 232, 126, 15}, "标签旷工减项");
    CONTROL(标签应发工资) = wages.label({264, 264, 126, 15}, "标签应发工资", kRoseText);
    CONTROL(标签个人所得税代扣) = wages.label({264, 296, 126, 15}, "个人所得税代扣");
    CONTROL(标签实发工资) = wages.label({264, 328, 126, 15}, "标签实发工资", kRoseText);
    CONTROL(标签本月G1最多小时数) =
        wages.label({264, 392, 122, 15}, "标签本月G1最多小时数", kBlueText);
    CONTROL(标签本月G2最多小时数) =
        wages.label({264, 424, 122, 15}, "标签本月G2最多小时数", kBlueText);
    CONTROL(标签本月G3最多小时数) =
        wages.label({264, 456, 122, 15}, "标签本月G3最多小时数", kBlueText);
    CONTROL(标签本月最多加班小时数) =
        wages.label({264, 489, 136, 15}, "标签本月最多加班小时数", kBlueText);
    CONTROL(标签本月已加班) = wages.label({264, 520, 135, 15}, "本月已加班", kLightBlueText);
    CONTROL(标签本月节假日) = wages.label({264, 550, 256, 15}, "标签本月节假日", kLightBlueText);
    CONTROL(标签计算规则) = wages.label({264, 360, 126, 15}, "标签计算规则");
    CONTROL(标签本月放假安排) =
        wages.label({264, 580, 376, 15}, "标签本月放假安排", kLightBlueText);
    CONTROL(标签状态) = wages.label({264, 616, 376, 15}, "", kLightBlueText);
    CONTROL(标签正常班时薪) = wages.label({448, 40, 137, 15}, "标签正常班时薪");
    CONTROL(标签正常8小时薪资) = wages.label({448, 72, 137, 15}, "标签正常8小时薪资");
    CONTROL(标签正常10小时薪资) = wages.label({448, 104, 137, 15}, "标签正常10小时工资");
    CONTROL(标签G1时薪) = wages.label({448, 136, 137, 15}, "标签G1时薪");
    CONTROL(标签G2时薪) = wages.label({448, 168, 137, 15}, "标签G2时薪");
    CONTROL(标签周六日8小时薪资) = wages.label({448, 200, 137, 15}, "标签周六日8小时薪资");
    CONTROL(标签周六日10小时薪资) = wages.label({448, 232, 137, 15}, "标签周六日10小时薪资");
    CONTROL(标签G3时薪) = wages.label({448, 264, 137, 15}, "标签G3时薪");
    CONTROL(标签节假日8小时薪资) = wages.label({448, 296, 137, 15}, "标签节假日8小时薪资");
    CONTROL(标签节假日10小时薪资) = wages.label({448, 328, 137, 15}, "标签节假日10小时薪资");

    CONTROL(分组框1) =
        wages.put(new ui::GroupBox(utf8("数据库操作"), nullptr), {647, 48, 216, 424});
    CONTROL(标签当前统计到的加班日期) =
        wages.label({664, 392, 176, 15}, "标签当前统计到的加班日期");
    CONTROL(标签个税累计月份) = wages.label({264, 612, 376, 15}, "标签个税累计月份");
    CONTROL(按钮工资记录) = wages.button({264, 640, 168, 40}, "工资记录");
    CONTROL(按钮记入工资记录) = wages.button({448, 640, 192, 40}, "记入工资记录");
    for (QWidget* currentOnly :
         std::initializer_list<QWidget*>{标签个税累计月份, 按钮工资记录, 按钮记入工资记录}) {
        currentOnly->setVisible(false);  // until 现行规则 are chosen (rules_choice.h)
    }
    CONTROL(按钮结果输出) = wages.button({656, 496, 208, 184}, "结果输出");
    按钮结果输出->setFont(drawing::withPixelSize(font(), kResultButtonPixelSize));

    const Builder group(分组框1);
    CONTROL(日期框1) = group.put(new ui::DatePicker(now, nullptr), {20, 37, 117, 16});
    CONTROL(单选框加班1) = group.radio({8, 72, 56, 18}, "加班G1");
    CONTROL(单选框加班2) = group.radio({80, 72, 56, 15}, "加班G2");
    CONTROL(单选框事假) = group.radio({8, 96, 44, 15}, "事假");
    CONTROL(单选框病假) = group.radio({80, 96, 44, 15}, "病假");
    CONTROL(透明标签2) = group.label({25, 128, 102, 16}, "加班小时数或备注：");
    CONTROL(按钮加班记录) = group.button({64, 168, 88, 22}, "加班记录");
    CONTROL(按钮刷新) = group.button({64, 264, 88, 22}, "刷新");
    CONTROL(按钮修改数据库密码) = group.button({55, 296, 105, 22}, "修改数据库密码");
    CONTROL(按钮读取数据库) = group.button({16, 364, 88, 22}, "读取数据库");
    CONTROL(按钮数据库排序) = group.button({16, 394, 88, 22}, "数据库排序");
    CONTROL(选择框夜班) = group.put(new QCheckBox(utf8("夜班")), {150, 37, 50, 16});
    CONTROL(单选框加班3) = group.radio({144, 72, 56, 15}, "加班G3");
    CONTROL(单选框旷工) = group.radio({144, 96, 44, 15}, "旷工");
    CONTROL(组合框) = group.put(
        new ui::ComboBox(
            {utf8("2"), utf8("8"), utf8("10"), utf8("早班"), utf8("休息"), utf8("补班")}, nullptr),
        {137, 128, 48, 20});
    CONTROL(按钮删除) = group.button({112, 366, 88, 22}, "删除记录");
    CONTROL(按钮数据库清空) = group.button({112, 392, 88, 22}, "数据库清空");
}

void MainForm::buildJournalPage() {
    const Builder journal(高级选择夹1, kPageJournal);
    CONTROL(高级表格1) = journal.put(new ui::Grid(nullptr), {0, 24, 832, 696});
    CONTROL(按钮表格刷新) =
        journal.put(new ui::StackedCaptionButton(utf8("表格刷新"), nullptr), {840, 224, 48, 216});
    按钮表格刷新->setFont(drawing::withPixelSize(font(), kGridRefreshPixelSize));
}

void MainForm::buildCalendarPage() {
    const Builder calendar(高级选择夹1, kPageCalendar);
    CONTROL(按钮上月) = calendar.button({16, 30, 72, 24}, "◀ 上月");
    CONTROL(按钮下月) = calendar.button({96, 30, 72, 24}, "下月 ▶");
    CONTROL(单选框月历) = calendar.radio({200, 33, 56, 18}, "月历");
    CONTROL(单选框全年) = calendar.radio({264, 33, 56, 18}, "全年");
    单选框月历->setChecked(true);
    CONTROL(月历1) = calendar.put(new CalendarView(nullptr), kCalendarViewPlace);
    CONTROL(年图1) = calendar.put(new ChartView(nullptr), kCalendarViewPlace);
    年图1->hide();
}

void MainForm::buildSettingsPage() {
    const Builder settings(高级选择夹1, kPageSettings);
    CONTROL(透明标签3) = settings.label({40, 56, 76, 17}, "正常工作天数：");
    CONTROL(透明标签4) = settings.label({40, 88, 76, 17}, "病假工资比例：");
    CONTROL(编辑框正常工作天数) = settings.edit({144, 56, 76, 17}, EditStyle::FreeBox);
    CONTROL(编辑框病假工资比例) = settings.edit({144, 88, 76, 17}, EditStyle::FreeBox);
    CONTROL(透明标签7) = settings.label({272, 64, 344, 24}, "不懂的不要乱改！", kLightBlueText);
    透明标签7->setFont(drawing::withPixelSize(font(), kWarningPixelSize));
    透明标签7->setCaption(透明标签7->text());  // widen for the larger font if needed
    CONTROL(透明标签8) = settings.label({40, 120, 76, 17}, "计算规则：");
    CONTROL(单选框原版规则) = settings.put(
        new ui::RadioButton(ui::toQString(wages::rulesName(wages::Rules::Seed)), nullptr),
        {144, 120, 80, 17});
    CONTROL(单选框现行规则) = settings.put(
        new ui::RadioButton(ui::toQString(wages::rulesName(wages::Rules::Current)), nullptr),
        {232, 120, 80, 17});
    单选框原版规则->setChecked(true);
    CONTROL(透明标签专项附加扣除) = settings.label({40, 160, 120, 17}, "专项附加扣除(元/月)：");
    CONTROL(编辑框专项附加扣除) = settings.edit({168, 160, 76, 17}, EditStyle::FreeBox);
    CONTROL(透明标签其他扣除) = settings.label({40, 192, 120, 17}, "其他扣除(元/月)：");
    CONTROL(编辑框其他扣除) = settings.edit({168, 192, 76, 17}, EditStyle::FreeBox);
    CONTROL(选择框上年收入不超过6万元) =
        settings.put(new QCheckBox(utf8("上年收入不超过6万元")), {40, 224, 204, 17});
    CONTROL(透明标签常用扣除额) =
        settings.label({272, 160, 520, 112},
                       "常用的专项附加扣除(元/月)，相加后填入：\n"
                       "子女教育：每个子女 2000\n"
                       "3岁以下婴幼儿照护：每个子女 2000\n"
                       "赡养老人：独生子女 3000，非独生子女分摊每人不超过 1500\n"
                       "住房贷款利息 1000，或住房租金 1500 / 1100 / 800\n"
                       "继续教育：400");
    透明标签常用扣除额->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void MainForm::buildHelpPage() {
    const Builder help(高级选择夹1, kPageHelp);
    CONTROL(画板1) =
        help.put(new ui::DrawingPanel(paintBackgroundPicture, nullptr), {0, 24, 916, 691});
    CONTROL(图形按钮1) = Builder(画板1).put(
        new ui::PictureButton(paintContactButtonPicture, nullptr), {776, 632, 77, 22});
}

std::string MainForm::captionGbk() const {
    return ui::toGbk(windowTitle());
}

void MainForm::setCaptionGbk(std::string_view gbk) {
    setWindowTitle(ui::toQString(gbk));
}

void MainForm::centreOnScreen() {
    const QScreen* s = screen();
    if (!s) return;
    fitToScreen();
    const QRect area = s->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

bool MainForm::fitToScreen() {
    const QScreen* s = screen();
    if (!s) return false;
    const QRect area = s->availableGeometry();
    fittedFrame_ = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize room = area.size() - QSize(fittedFrame_.left() + fittedFrame_.right(),
                                           fittedFrame_.top() + fittedFrame_.bottom());
    QSize fit = QSize(kWindowWidth, kWindowHeight).boundedTo(room);
    // Pages that must scroll down keep room for their scroll bar beside
    // them where the screen has it, so that they need not scroll sideways.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int widthWithBar = kPageControlWidth + bar;
    const bool scrollsDown = fit.height() < kPageControlHeight;
    if (scrollsDown) fit.setWidth(std::min(room.width(), std::max(kWindowWidth, widthWithBar)));
    fit = fit.expandedTo(kSmallestWindow);
    const QSize pages =
        QSize(scrollsDown ? widthWithBar : kPageControlWidth, kPageControlHeight).boundedTo(fit);
    if (fit == size() && pages == 高级选择夹1->size()) return false;
    setFixedSize(fit);
    高级选择夹1->resize(pages);
    // A shrunk window that stands over the area's edge moves inside it.
    const QRect outer = frameGeometry();
    move(
        std::clamp(outer.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())),
        std::clamp(outer.y(), area.top(),
                   std::max(area.top(), area.bottom() + 1 - outer.height())));
    return true;
}

void MainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Another screen, or the same one with another panel or resolution.
    QWindow* window = windowHandle();
    if (!screenChanges_) {
        screenChanges_ = connect(window, &QWindow::screenChanged, this, &MainForm::followScreen);
    }
    followScreen(window->screen());
}

void MainForm::followScreen(QScreen* screen) {
    disconnect(areaChanges_);
    if (screen) {
        areaChanges_ =
            connect(screen, &QScreen::availableGeometryChanged, this, &MainForm::fitToScreen);
    }
    fitToScreen();
}

void MainForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager has framed the window (or framed it anew).
    if (windowHandle() && windowHandle()->frameMargins() != fittedFrame_) fitToScreen();
}

void MainForm::start() {
    if (std::exchange(started_, true)) return;
    startingUp_ = true;
    emit created();
    startingUp_ = false;
    if (closeRequested_) {
        queueClose();
        return;
    }
    centreOnScreen();
    show();
}

void MainForm::requestClose() {
    // A request made while the window is being created waits for the end of
    // `created`, also when that handler goes on to show a modal box.
    if (!std::exchange(closeRequested_, true) && !startingUp_) queueClose();
}

void MainForm::queueClose() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainForm::closeEvent(QCloseEvent* event) {
    event->accept();
    if (std::exchange(closing_, true)) return;
    时钟1->stop();
    emit destroying();
}

}  // namespace qinghe::app
