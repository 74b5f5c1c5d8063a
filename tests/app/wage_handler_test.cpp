// "结果输出" driven as a person: type into the boxes, click, read the labels.
#include "app/wage_handler.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <vector>

#include "common/gbk.h"
#include "form_fixture.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"
#include "ui/transparent_label.h"

namespace qinghe::app {
namespace {

using namespace literals;

class WageButtonTest : public FormTest {
  protected:
    // Replaces a box's text by typing, as a person does.
    void type(ui::EditBox* box, const char* text) {
        form().高级选择夹1->setCurrentPage(pageOf(box));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromUtf8(text));
    }

    int pageOf(QWidget* control) {
        for (int i = 0; i < form().高级选择夹1->pageCount(); ++i) {
            if (form().高级选择夹1->page(i)->isAncestorOf(control)) return i;
        }
        return 0;
    }

    void pressResultButton() {
        form().高级选择夹1->setCurrentPage(kPageWages);
        QTest::mouseClick(form().按钮结果输出, Qt::LeftButton);
    }

    std::vector<std::string> results() {
        std::vector<std::string> out;
        for (ui::TransparentLabel* label :
             {form().标签个人所得税代扣,  form().标签G1工资,          form().标签G2工资,
              form().标签G3工资,          form().标签加班费总和,      form().标签事假减项,
              form().标签病假减项,        form().标签旷工减项,        form().标签正常班时薪,
              form().标签正常8小时薪资,   form().标签正常10小时薪资,  form().标签应发工资,
              form().标签实发工资,        form().标签G1时薪,          form().标签G2时薪,
              form().标签G3时薪,          form().标签周六日8小时薪资, form().标签周六日10小时薪资,
              form().标签节假日8小时薪资, form().标签节假日10小时薪资}) {
            out.push_back(label->text().toStdString());
        }
        return out;
    }
};

TEST_F(WageButtonTest, TheOpeningFormGivesTheTwentyLabels) {
    pressResultButton();
    const std::vector<std::string> expected = {
        "个人所得税代扣:0",
        "G1工资：0",
        "G2工资：0",
        "G3工资：0",
        "加班费总和：0",
        "事假减项：0",
        "病假减项：0",
        "旷工减项：0",
        "时薪：11.61",
        "8小时日薪：92.88",
        "10小时日薪：127.71",
        "应发工资：2520",
        "实发工资：1944.4",
        "G1时薪：17.42",
        "G2时薪：23.22",
        "节假日时薪：34.83",
        "周六日8小时薪资：185.76",
        "周六日10小时薪资：232.2",
        "节假日8小时薪资：278.64",
        "节假日10小时薪资：348.3",
    };
    EXPECT_EQ(results(), expected);
}

TEST_F(WageButtonTest, TypedHoursLeaveAndAdditions) {
    type(form().编辑框1加班小时数, "12");
    type(form().编辑框2加班小时数, "16");
    type(form().编辑框3加班小时数, "8");
    type(form().编辑框事假时数, "4");
    type(form().编辑框病假时数, "8");
    type(form().编辑框旷工时数, "2");
    type(form().编辑框夜班津贴, "18");
    type(form().编辑框其它减项, "50");
    type(form().编辑框其它加项, "100");
    type(form().编辑框病假工资比例, "0.7");
    pressResultButton();
    const auto r = results();
    EXPECT_EQ(r[1], "G1工资：208.98");
    EXPECT_EQ(r[2], "G2工资：371.52");
    EXPECT_EQ(r[3], "G3工资：278.64");
    EXPECT_EQ(r[4], "加班费总和：859.14");
    EXPECT_EQ(r[5], "事假减项：46.44");
    EXPECT_EQ(r[6], "病假减项：65.016");
    EXPECT_EQ(r[7], "旷工减项：23.22");
    EXPECT_EQ(r[11], "应发工资：3262.464");
    EXPECT_EQ(r[0], "个人所得税代扣:0");
    EXPECT_EQ(r[12], "实发工资：2736.864");
}

TEST_F(WageButtonTest, TaxedPay) {
    type(form().编辑框正常工作时间工资, "10000");
    for (ui::EditBox* box :
         {form().编辑框考核岗位津贴, form().编辑框技能津贴, form().编辑框特殊岗位津贴,
          form().编辑框社保代扣, form().编辑框伙食费代扣}) {
        type(box, "0");
    }
    type(form().编辑框1加班小时数, "10");
    pressResultButton();
    const auto r = results();
    EXPECT_EQ(r[8], "时薪：57.47");
    EXPECT_EQ(r[1], "G1工资：862.05");
    EXPECT_EQ(r[11], "应发工资：10862.05");
    EXPECT_EQ(r[0], "个人所得税代扣:917.41");
    EXPECT_EQ(r[12], "实发工资：9944.64");
}

TEST_F(WageButtonTest, EmptyOrWordyBoxesCountByTheirLeadingNumber) {
    form().编辑框考核岗位津贴->setTextGbk("");       // empty counts 0
    form().编辑框技能津贴->setTextGbk("300元"_gbk);  // as an import may leave it
    form().编辑框正常工作时间工资->setTextGbk("１８２０"_gbk);
    pressResultButton();
    EXPECT_EQ(results()[8], "时薪：10.46");  // 1820 / 21.75 / 8
    EXPECT_EQ(results()[11], "应发工资：2320");
}

TEST_F(WageButtonTest, NoWorkingDaysShowsCannotBeCalculated) {
    for (const char* days : {"0", "", "abc"}) {
        type(form().编辑框正常工作天数, days);
        pressResultButton();
        for (const std::string& caption : results()) {
            EXPECT_NE(caption.find("无法计算"), std::string::npos) << days << ": " << caption;
        }
        // Each result is still readable in full.
        EXPECT_GE(form().标签个人所得税代扣->width(),
                  form().标签个人所得税代扣->fontMetrics().horizontalAdvance(
                      form().标签个人所得税代扣->text()));
    }
    type(form().编辑框正常工作天数, "21.75");
    pressResultButton();
    EXPECT_EQ(results()[8], "时薪：11.61");  // every run rewrites every label
}

}  // namespace
}  // namespace qinghe::app
