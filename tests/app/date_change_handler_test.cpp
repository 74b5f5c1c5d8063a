// Picking a date in 日期框1 as a person does, then reading the day-entry
// choices and the month's labels.
#include "app/date_change_handler.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QPushButton>

#include "common/gbk.h"
#include "form_fixture.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"
#include "ui/transparent_label.h"

namespace qinghe::app {
namespace {

using namespace literals;

class DateChangeTest : public FormTest {
  protected:
    // The calendar pop-up sets the picker's date; the picker reports the change.
    void pick(int year, int month, int day) {
        form().日期框1->setDate(QDate(year, month, day));
        QCoreApplication::processEvents();
    }

    std::string caption(ui::TransparentLabel* label) { return gbk::toUtf8(label->captionGbk()); }

    std::vector<bool> kinds() {
        std::vector<bool> checked;
        for (ui::RadioButton* b : {form().单选框加班1, form().单选框加班2, form().单选框加班3,
                                   form().单选框旷工, form().单选框病假, form().单选框事假}) {
            checked.push_back(b->isChecked());
        }
        return checked;
    }

    std::string comboText() { return gbk::toUtf8(form().组合框->textGbk()); }

    // As a person chooses the rules: on the page "设置".
    void chooseRules(ui::RadioButton* button) {
        form().高级选择夹1->setCurrentPage(kPageSettings);
        QTest::mouseClick(button, Qt::LeftButton);
        form().高级选择夹1->setCurrentPage(kPageWages);
    }

    void expectLimits(const char* g1, const char* g2, const char* g3, const char* total,
                      const char* holidays) {
        EXPECT_EQ(caption(form().标签本月G1最多小时数), g1);
        EXPECT_EQ(caption(form().标签本月G2最多小时数), g2);
        EXPECT_EQ(caption(form().标签本月G3最多小时数), g3);
        EXPECT_EQ(caption(form().标签本月最多加班小时数), total);
        EXPECT_EQ(caption(form().标签本月节假日), holidays);
    }
};

TEST_F(DateChangeTest, PickingASaturdayChoosesG2AndShowsTheMonth) {
    form().单选框事假->setChecked(true);
    form().单选框加班3->setChecked(true);
    pick(2013, 10, 5);
    EXPECT_EQ(kinds(), (std::vector<bool>{false, true, false, false, false, false}));
    EXPECT_EQ(comboText(), "10");
    expectLimits("本月G1最多时数：40", "本月G2最多时数：40", "本月G3最多时数：30",
                 "本月最多加班时数：110", "本月法定节假日有：国庆 ");
}

TEST_F(DateChangeTest, PickingASundayRestsAndKeepsTheKindOfDay) {
    form().单选框事假->setChecked(true);
    form().选择框夜班->setChecked(true);
    pick(2014, 1, 5);
    EXPECT_EQ(comboText(), "休息");
    EXPECT_FALSE(form().选择框夜班->isChecked());
    EXPECT_EQ(kinds(), (std::vector<bool>{false, false, false, false, false, true}));
    expectLimits("本月G1最多时数：40", "本月G2最多时数：40", "本月G3最多时数：30",
                 "本月最多加班时数：110", "本月法定节假日有：春节 除夕 元旦 ");
}

TEST_F(DateChangeTest, PickingAWeekdayChoosesG1) {
    form().单选框旷工->setChecked(true);
    form().选择框夜班->setChecked(true);
    pick(2014, 2, 12);  // a Wednesday
    EXPECT_EQ(kinds(), (std::vector<bool>{true, false, false, false, false, false}));
    EXPECT_EQ(comboText(), "2");
    EXPECT_TRUE(form().选择框夜班->isChecked());
    expectLimits("本月G1最多时数：38", "本月G2最多时数：40", "本月G3最多时数：10",
                 "本月最多加班时数：88", "本月法定节假日有：正月初二 ");
}

TEST_F(DateChangeTest, AMonthWithoutHolidaysEmptiesTheHolidayLabel) {
    pick(2013, 10, 9);
    pick(2013, 3, 13);
    expectLimits("本月G1最多时数：42", "本月G2最多时数：50", "本月G3最多时数：0",
                 "本月最多加班时数：92", "");
}

TEST_F(DateChangeTest, HoursDoneAddTheOvertimeBoxesUnderTheTotalsMonth) {
    app_->pickedMonthText = "5";
    form().编辑框1加班小时数->setTextGbk("12");
    form().编辑框2加班小时数->setTextGbk("16");
    form().编辑框3加班小时数->setTextGbk("8");
    pick(2013, 10, 9);
    EXPECT_EQ(caption(form().标签本月已加班), "5月已加班36个小时。");
    // The month number stays that of the last totals, whatever month is picked.
    form().编辑框3加班小时数->setTextGbk("");
    pick(2013, 11, 9);
    EXPECT_EQ(caption(form().标签本月已加班), "5月已加班28个小时。");
}

TEST_F(DateChangeTest, TheResultButtonRunsTheDateChangeFirst) {
    form().日期框1->setValue(makeDate(2013, 10, 5));  // set without a change event
    form().组合框->setTextGbk("4");
    form().单选框事假->setChecked(true);
    QTest::mouseClick(form().按钮结果输出, Qt::LeftButton);
    EXPECT_EQ(comboText(), "10");
    EXPECT_EQ(kinds(), (std::vector<bool>{false, true, false, false, false, false}));
    EXPECT_EQ(caption(form().标签本月节假日), "本月法定节假日有：国庆 ");
}

TEST_F(DateChangeTest, TheCurrentRulesTakeEffectAtOnceAndFollowTheKindOfEachDay) {
    pick(2026, 2, 17);  // 春节, a Tuesday: under the original rules a G1 day
    EXPECT_EQ(kinds(), (std::vector<bool>{true, false, false, false, false, false}));
    EXPECT_EQ(caption(form().标签本月放假安排), "");

    chooseRules(form().单选框现行规则);
    EXPECT_FALSE(form().单选框原版规则->isChecked());
    EXPECT_EQ(caption(form().标签计算规则), "计算规则：现行规则");
    EXPECT_EQ(kinds(), (std::vector<bool>{false, false, true, false, false, false}));
    EXPECT_EQ(comboText(), "10");
    expectLimits("本月G1最多时数：32", "本月G2最多时数：40", "本月G3最多时数：40",
                 "本月最多加班时数：112", "本月法定节假日有：正月初三 正月初二 春节 除夕 ");
    EXPECT_EQ(caption(form().标签本月放假安排), "放假15日至23日，14日、28日上班");
    EXPECT_EQ(caption(form().标签实发工资).rfind("实发工资：", 0), 0U) << "the results ran too";

    struct Case {
        int day;
        std::vector<bool> kinds;
        const char* combo;
    };
    const Case kDays[] = {
        {14, {true, false, false, false, false, false}, "2"},   // a Saturday worked
        {20, {false, true, false, false, false, false}, "10"},  // a Friday off
        {16, {false, false, true, false, false, false}, "10"},  // 除夕
    };
    for (const auto& c : kDays) {
        pick(2026, 2, c.day);
        EXPECT_EQ(kinds(), c.kinds) << c.day;
        EXPECT_EQ(comboText(), c.combo) << c.day;
    }
    form().选择框夜班->setChecked(true);
    pick(2026, 2, 22);  // a Sunday off is a Sunday
    EXPECT_EQ(comboText(), "休息");
    EXPECT_FALSE(form().选择框夜班->isChecked());

    pick(2027, 10, 8);
    expectLimits("本月G1最多时数：40", "本月G2最多时数：40", "本月G3最多时数：30",
                 "本月最多加班时数：110", "本月法定节假日有：国庆 ");
    EXPECT_EQ(caption(form().标签本月放假安排), "2027年放假安排未收录");

    chooseRules(form().单选框原版规则);
    EXPECT_EQ(caption(form().标签计算规则), "计算规则：原版规则");
    EXPECT_EQ(caption(form().标签本月放假安排), "");
    expectLimits("本月G1最多时数：36", "本月G2最多时数：50", "本月G3最多时数：30",
                 "本月最多加班时数：116", "本月法定节假日有：国庆 ");
}

TEST_F(DateChangeTest, APersonsArrangementsFileIsReadWhenTheCurrentRulesAreChosen) {
    const auto writeOwnFile = [this](const char* utf8) {
        QFile file(dir_.filePath(QStringLiteral("放假安排.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(utf8);
    };
    writeOwnFile("2027-10-01\trest\t国庆\n2027-10-08\trest\t国庆\n2027-10-09\twork\t国庆\n");
    pick(2027, 10, 8);
    chooseRules(form().单选框现行规则);
    EXPECT_EQ(caption(form().标签本月放假安排), "放假1日、8日，9日上班");
    EXPECT_EQ(kinds(), (std::vector<bool>{false, true, false, false, false, false}));

    // A bad line: the whole file is set aside, and the label says where.
    writeOwnFile("2027-10-01\trest\t国庆\n2027-10-08\tresting\t国庆\n");
    pick(2027, 10, 9);
    EXPECT_EQ(caption(form().标签本月放假安排), "放假1日、8日，9日上班") << "read once";
    chooseRules(form().单选框现行规则);  // again: read anew
    EXPECT_EQ(caption(form().标签本月放假安排),
              "放假安排.txt第2行有误（类别不是 rest、work、inlieu 之一），整个文件未采用");
    EXPECT_EQ(kinds(), (std::vector<bool>{false, true, false, false, false, false}))
        << "Saturday 9 October is no working day without the file";
    EXPECT_TRUE(prompts_.messages().empty());
}

}  // namespace
}  // namespace qinghe::app
