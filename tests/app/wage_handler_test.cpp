// "结果输出" driven as a person: type into the boxes, click, read the labels.
#include "app/wage_handler.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <vector>

#include "common/gbk.h"
#include "form_fixture.h"
#include "testing/wage_examples.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"
#include "ui/transparent_label.h"
#include "wages/pay_form.h"

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

    ui::EditBox* boxForKey(const std::string& key) {
        for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
            if (gbk::toUtf8(row.key) == key) return form().*row.box;
        }
        ADD_FAILURE() << "no box for " << key;
        return form().编辑框其它加项;
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
        for (auto label : wageResultLabels()) out.push_back((form().*label)->text().toStdString());
        return out;
    }
};

TEST_F(WageButtonTest, TheOpeningFormGivesTheTwentyLabels) {
    pressResultButton();
    EXPECT_EQ(results(), wages::examples::kOpeningFormCaptions);
}

TEST_F(WageButtonTest, WorkedExamplesTypedIntoTheBoxes) {
    for (const auto* example : {&wages::examples::kOvertimeAndLeave, &wages::examples::kTaxed}) {
        for (const auto& row : wages::payBoxes<ui::EditBox*>()) {  // the opening form again
            (form().*row.box)->setTextGbk(row.openingText);
        }
        for (const auto& [key, text] : example->texts) type(boxForKey(key), text.c_str());
        pressResultButton();
        const auto r = results();
        for (const auto& [index, caption] : example->captions) EXPECT_EQ(r.at(index), caption);
    }
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
