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

TEST_F(WageButtonTest, WhatCannotBeCalculatedSaysWhichBoxOfWhichPage) {
    auto status = [this] { return gbk::toUtf8(form().标签状态->captionGbk()); };
    struct Case {
        const char* key;
        const char* typed;
        const char* said;  // on the status line
    };
    const Case cases[] = {
        {"正常工作天数", "0", "无法计算：“设置”页的“正常工作天数”为 0"},
        {"正常工作天数", "", "无法计算：“设置”页的“正常工作天数”为 0"},
        {"正常工作天数", "abc", "无法计算：“设置”页的“正常工作天数”为 0"},
        {"病假工资比例", "1e999", "无法计算：“设置”页的“病假工资比例”超出数值范围"},
        {"正常工作天数", "1e-320",
         "无法计算：数值超出范围，请检查“设置”页的“正常工作天数”和“病假工资比例”"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.typed);
        type(boxForKey(c.key), c.typed);
        pressResultButton();
        // No working days leave no figure; a ratio beyond range, those it enters.
        for (const std::string& caption : results()) {
            const bool cannot = caption.find("无法计算") != std::string::npos;
            if (std::string_view(c.said).ends_with("为 0") || caption == results()[12]) {
                EXPECT_TRUE(cannot) << caption;
            }
        }
        EXPECT_EQ(status(), c.said);
        // Each result is still readable in full.
        EXPECT_GE(form().标签个人所得税代扣->width(),
                  form().标签个人所得税代扣->fontMetrics().horizontalAdvance(
                      form().标签个人所得税代扣->text()));
        type(boxForKey("正常工作天数"), "21.75");
        type(boxForKey("病假工资比例"), "0.7");
    }
    pressResultButton();
    EXPECT_EQ(results()[8], "时薪：11.61");  // every run rewrites every label
    EXPECT_EQ(status(), "") << "the reason goes with the fault";
    form().标签状态->setCaptionGbk("密码已修改"_gbk);
    pressResultButton();
    EXPECT_EQ(status(), "密码已修改") << "another step's words stay";
}

}  // namespace
}  // namespace qinghe::app
