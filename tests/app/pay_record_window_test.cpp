// The pay record under 现行规则 driven as a person: the tax settings typed on
// "设置", "结果输出", "记入工资记录" with its question, and the view of the
// year's record with its settlement, deletion and re-entry.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>

#include "app/pay_record_dialog.h"
#include "app/settings.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app/wage_handler.h"
#include "common/gbk.h"
#include "form_fixture.h"
#include "journal/journal_maintenance.h"
#include "payrecord/pay_record.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"
#include "ui/transparent_label.h"
#include "wages/pay_form.h"

namespace qinghe::app {
namespace {

using namespace literals;
using ui::MessageResult;

class PayRecordWindowTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        // The published example: 30,000 a month, 4,500 special deductions
        // (here social insurance) and 2,000 special additional ones.
        for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
            if (row.kept == wages::KeptInSettings::Yes) (form().*row.box)->setTextGbk("0");
        }
        form().编辑框夜班津贴->setTextGbk("0");
        form().编辑框正常工作时间工资->setTextGbk("30000");
        form().编辑框社保代扣->setTextGbk("4500");
        form().高级选择夹1->setCurrentPage(kPageSettings);
        QTest::mouseClick(form().单选框现行规则, Qt::LeftButton);
        typeSetting(form().编辑框专项附加扣除, "2000");
    }

    void typeSetting(ui::EditBox* box, const char* text) {
        form().高级选择夹1->setCurrentPage(kPageSettings);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromUtf8(text));
        QTest::keyClick(box, Qt::Key_Return);
    }

    void pick(int year, int month) { form().日期框1->setValue(makeDate(year, month, 15)); }

    void click(QAbstractButton* button) {
        form().高级选择夹1->setCurrentPage(kPageWages);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::string label(ui::TransparentLabel* MainForm::*member) {
        return gbk::toUtf8((form().*member)->captionGbk());
    }

    // The last message box's text, UTF-8; "" when none was asked.
    std::string lastMessage() {
        const auto& asked = prompts_.messages();
        return asked.empty() ? std::string() : gbk::toUtf8(asked.back().text);
    }

    std::vector<payrecord::PayRow> record() {
        std::vector<payrecord::PayRow> rows;
        journal::StoreError error;
        EXPECT_TRUE(payrecord::readPayRows(app_->folder.journal({}), rows, error));
        return rows;
    }

    PayRecordDialog* dialog() { return form().findChild<PayRecordDialog*>(); }
};

TEST_F(PayRecordWindowTest, ARecordedYearWithholdsCumulativelyAndSettles) {
    struct Month {
        int month;
        const char* tax;
        const char* basis;
    };
    const Month months[] = {
        {1, "个人所得税代扣:555.00", "个税按2025年1月累计（工资记录中没有此前的月份）"},
        {2, "个人所得税代扣:625.00", "个税按2025年1、2月累计（1月取自工资记录）"},
        {3, "个人所得税代扣:1850.00", "个税按2025年1、2、3月累计（1、2月取自工资记录）"},
    };
    for (const Month& m : months) {
        SCOPED_TRACE(m.month);
        pick(2025, m.month);
        click(form().按钮结果输出);
        EXPECT_EQ(label(&MainForm::标签个人所得税代扣), m.tax);
        EXPECT_EQ(label(&MainForm::标签个税累计月份), m.basis);
        EXPECT_EQ(record().size(), static_cast<std::size_t>(m.month - 1))
            << "computing writes nothing";
        prompts_.answerMessage(MessageResult::Ok);
        click(form().按钮记入工资记录);
        EXPECT_EQ(lastMessage(), "已记入2025年" + std::to_string(m.month) + "月的工资记录");
    }
    const std::vector<payrecord::PayRow> rows = record();
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[2].withheld, 1850'00);
    EXPECT_EQ(rows[2].income.gross, 30000'00);
    EXPECT_EQ(rows[2].income.special, 4500'00);
    EXPECT_EQ(rows[2].income.specialAdditional, 2000'00);
    EXPECT_EQ(rows[2].net, 30000'00 - 4500'00 - 1850'00);

    // March again with a raise: replaced only when the question is answered OK.
    form().编辑框正常工作时间工资->setTextGbk("31000");
    prompts_.answerMessage(MessageResult::Cancel);
    click(form().按钮记入工资记录);
    EXPECT_EQ(lastMessage(), "2025年3月已有工资记录，替换吗？");
    EXPECT_EQ(record()[2].income.gross, 30000'00);
    prompts_.answerMessage(MessageResult::Ok);
    prompts_.answerMessage(MessageResult::Ok);
    click(form().按钮记入工资记录);
    EXPECT_EQ(record()[2].income.gross, 31000'00);
    EXPECT_EQ(record()[2].withheld, 1950'00);

    // The view of the year: its months and the settlement below them.
    click(form().按钮工资记录);
    ASSERT_NE(dialog(), nullptr);
    EXPECT_EQ(dialog()->windowTitle().toStdString(), "2025年工资记录");
    EXPECT_EQ(dialog()->table->rowCount(), 3);
    EXPECT_EQ(dialog()->table->item(2, 6)->text().toStdString(), "1950.00");
    const std::string settled = dialog()->settlement->text().toStdString();
    EXPECT_NE(settled.find("收入：91000.00\n"), std::string::npos) << settled;
    EXPECT_NE(settled.find("应纳税额：345.00\n"), std::string::npos) << settled;
    EXPECT_NE(settled.find("已预扣税额：3130.00\n"), std::string::npos) << settled;
    EXPECT_TRUE(settled.ends_with("应退税额：2785.00")) << settled;

    // February deleted after the question; re-entering January from the
    // form writes it again with the form's figures.
    dialog()->table->selectRow(1);
    prompts_.answerMessage(MessageResult::Cancel);
    QTest::mouseClick(dialog()->deleteButton, Qt::LeftButton);
    EXPECT_EQ(dialog()->table->rowCount(), 3);
    prompts_.answerMessage(MessageResult::Ok);
    QTest::mouseClick(dialog()->deleteButton, Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "确认要删除2025年2月的工资记录！");
    EXPECT_EQ(dialog()->table->rowCount(), 2);
    EXPECT_EQ(dialog()->table->item(1, 1)->text().toStdString(), "3");

    dialog()->table->selectRow(0);
    prompts_.answerMessage(MessageResult::Ok);
    prompts_.answerMessage(MessageResult::Ok);
    QTest::mouseClick(dialog()->reenterButton, Qt::LeftButton);
    EXPECT_EQ(dateOf(form().日期框1->value()).month, 1);
    EXPECT_EQ(record()[0].income.gross, 31000'00);
    EXPECT_EQ(prompts_.unusedAnswers(), 0U);
}

TEST_F(PayRecordWindowTest, TheTaxSettingsAreKeptAndABadOneIsRefused) {
    QTest::mouseClick(form().选择框上年收入不超过6万元, Qt::LeftButton);
    typeSetting(form().编辑框其他扣除, "100.5");
    ASSERT_TRUE(saveSettings(*app_));
    QFile file(QString::fromStdString(app_->folder.settingsFile()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string kept = gbk::toUtf8(file.readAll().toStdString());
    EXPECT_TRUE(kept.ends_with("专项附加扣除=2000\r\n其他扣除=100.5\r\n上年收入不超过6万元=是\r\n"))
        << kept;
    form().编辑框专项附加扣除->setTextGbk("");
    form().编辑框其他扣除->setTextGbk("");
    form().选择框上年收入不超过6万元->setChecked(false);
    readTaxSettings(*app_);
    EXPECT_EQ(form().编辑框专项附加扣除->textGbk(), "2000");
    EXPECT_EQ(form().编辑框其他扣除->textGbk(), "100.5");
    EXPECT_TRUE(form().选择框上年收入不超过6万元->isChecked());

    // Under the low-income rule January's 60,000 leaves nothing to tax.
    pick(2025, 1);
    click(form().按钮结果输出);
    EXPECT_EQ(label(&MainForm::标签个人所得税代扣), "个人所得税代扣:0.00");

    const std::string before = label(&MainForm::标签应发工资);
    const std::pair<const char*, const char*> refusals[] = {
        {"1.005", "其他扣除：最多两位小数"},
        {"-1", "其他扣除：不能为负数"},
        {"abc", "其他扣除：不是有效的数字"},
    };
    for (const auto& [text, message] : refusals) {
        typeSetting(form().编辑框其他扣除, text);
        form().编辑框正常工作时间工资->setTextGbk("1");
        click(form().按钮结果输出);
        EXPECT_EQ(lastMessage(), message);
        EXPECT_EQ(label(&MainForm::标签应发工资), before);
    }
    prompts_.answerMessage(MessageResult::Ok);
    click(form().按钮记入工资记录);
    EXPECT_TRUE(record().empty());
}

TEST_F(PayRecordWindowTest, UnderTheOriginalRulesThePayRecordIsOutOfSight) {
    QAbstractButton* const recordButtons[] = {form().按钮记入工资记录, form().按钮工资记录};
    form().高级选择夹1->setCurrentPage(kPageWages);
    for (QAbstractButton* b : recordButtons) EXPECT_TRUE(b->isVisible());
    form().高级选择夹1->setCurrentPage(kPageSettings);
    QTest::mouseClick(form().单选框原版规则, Qt::LeftButton);
    form().高级选择夹1->setCurrentPage(kPageWages);
    for (QAbstractButton* b : recordButtons) EXPECT_FALSE(b->isVisible());
    EXPECT_FALSE(form().标签个税累计月份->isVisible());
}

// A password change cut short between the journal and the pay record: at
// the next start the pay record is asked for on its own and takes the
// journal's password; at the end of the run the backup covers it.
TEST_F(PayRecordWindowTest, APayRecordLeftWithAnotherPasswordIsAskedForAndBackedUp) {
    journal::StoreError error;
    ASSERT_TRUE(journal::createJournal(app_->folder.journal("pw"), error));
    const payrecord::PayRow january{2013,   1,       {9000'00, 0, 0, 0},
                                    120'00, 8880'00, wages::Rules::Current};
    for (const char* left : {"", "old"}) {
        SCOPED_TRACE(left);
        std::filesystem::remove(app_->folder.tableFile(payrecord::kTableName));
        ASSERT_TRUE(payrecord::writeMonth(app_->folder.journal(left), january, error));
        const std::size_t asked = prompts_.inputs().size();
        prompts_.answerInput("pw"_gbk);  // the journal's
        if (*left != '\0') {
            prompts_.answerInput("pw"_gbk);  // the journal's again: refused
            prompts_.answerInput(std::string(left));
        }
        onWindowCreated(*app_);
        ASSERT_EQ(prompts_.unusedAnswers(), 0U);
        const auto& inputs = prompts_.inputs();
        ASSERT_EQ(inputs.size() - asked, *left != '\0' ? 3U : 1U);
        if (*left != '\0') {
            EXPECT_EQ(gbk::toUtf8(inputs.back().prompt),
                      "工资记录的密码与加班数据库的不一致，请输入工资记录的密码");
            EXPECT_TRUE(inputs.back().masked);
        }
        std::vector<payrecord::PayRow> rows;
        EXPECT_FALSE(payrecord::readPayRows(app_->folder.journal(left), rows, error));
        EXPECT_TRUE(payrecord::readPayRows(app_->folder.journal("pw"), rows, error));
        EXPECT_EQ(rows.size(), 1U);
    }
    prompts_.answerMessage(MessageResult::Ok);
    onWindowDestroying(*app_);
    EXPECT_EQ(lastMessage(), "数据库已备份。");
    EXPECT_TRUE(std::filesystem::exists(app_->folder.payRecordBackupFile()));
}

// A pay record that cannot be brought to the journal's password for another
// reason than its password (another program removed it meanwhile) is said
// so, and the start goes on without asking again.
TEST_F(PayRecordWindowTest, APayRecordThatCannotTakeThePasswordIsSaidSo) {
    journal::StoreError error;
    ASSERT_TRUE(journal::createJournal(app_->folder.journal("pw"), error));
    const payrecord::PayRow january{2013,   1,       {9000'00, 0, 0, 0},
                                    120'00, 8880'00, wages::Rules::Current};
    ASSERT_TRUE(payrecord::writeMonth(app_->folder.journal("old"), january, error));
    const std::string table = app_->folder.tableFile(payrecord::kTableName);
    prompts_.answerInput("pw"_gbk);  // the journal's
    prompts_.answerInput("old"_gbk, [&table] { std::filesystem::remove(table); });
    prompts_.answerMessage(MessageResult::Ok);
    onWindowCreated(*app_);
    EXPECT_EQ(prompts_.unusedAnswers(), 0U);
    EXPECT_TRUE(lastMessage().starts_with("统一密码失败：")) << lastMessage();
    EXPECT_TRUE(app_->started);
}

}  // namespace
}  // namespace qinghe::app
