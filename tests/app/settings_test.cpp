// The settings file 配置项目.ini as a person meets it: importing with no file,
// after a save, after editing the file by hand; the night-shift key at
// start-up; and saves that fail part-way.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "app/startup.h"
#include "app/wage_handler.h"
#include "common/gbk.h"
#include "form_fixture.h"
#include "testing/fault_file_system.h"
#include "ui/choice_controls.h"
#include "ui/transparent_label.h"
#include "wages/pay_form.h"

namespace qinghe::app {
namespace {

using namespace literals;

class SettingsTest : public FormTest {
  protected:
    explicit SettingsTest(bool allPages = true) : FormTest(allPages) {}

    QString settingsPath() const { return dir_.filePath(QStringLiteral("配置项目.ini")); }

    void writeFile(const std::string& utf8) {
        QFile file(settingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray::fromStdString(gbk::fromUtf8(utf8).text));
    }

    // The file's text as UTF-8 ("" when there is none).
    std::string fileText() const {
        QFile file(settingsPath());
        if (!file.open(QIODevice::ReadOnly)) return {};
        return gbk::toUtf8(file.readAll().toStdString());
    }

    // The window's context, but with the files on `disk`.
    AppContext onDisk(recordstore::Registry& store, platform::FileSystem& disk) {
        return {.form = form(),
                .prompts = prompts_,
                .clock = clock_,
                .folder = datafolder::DataFolder(app_->folder.path(), store, disk),
                .links = links_};
    }

    // A first start, with no password, over a settings file holding `file`.
    void startWith(const std::string& file) {
        writeFile(file);
        for (int box = 0; box < 3; ++box) prompts_.answerInput(std::string());
        prompts_.answerMessage(ui::MessageResult::Ok);
        onWindowCreated(*app_);
    }

    void clickImport() { QTest::mouseClick(form().按钮导入, Qt::LeftButton); }

    // As if the person had changed every kept box and the check box.
    void enterAll() {
        for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
            if (row.kept == wages::KeptInSettings::Yes)
                app_->enteredControls.insert(form().*row.box);
        }
        app_->enteredControls.insert(form().选择框夜班);
    }

    // Every kept box's text (UTF-8), in the table's order.
    std::vector<std::string> keptTexts() {
        std::vector<std::string> texts;
        for (const auto& row : wages::payBoxes<ui::EditBox*>()) {
            if (row.kept == wages::KeptInSettings::Yes) {
                texts.push_back(gbk::toUtf8((form().*row.box)->textGbk()));
            }
        }
        return texts;
    }
};

TEST_F(SettingsTest, WithoutAFileAnImportGivesTheDefaults) {
    form().选择框夜班->setChecked(true);
    const std::string untouched = form().编辑框正常工作天数->textGbk();
    clickImport();
    std::vector<std::string> expected(18, "0");
    expected[0] = "1820";
    expected[1] = "200";
    EXPECT_EQ(keptTexts(), expected);
    EXPECT_TRUE(form().选择框夜班->isChecked());
    EXPECT_EQ(form().编辑框正常工作天数->textGbk(), untouched);
    EXPECT_EQ(fileText(), "") << "an import writes nothing";
}

TEST_F(SettingsTest, ASaveWritesNineteenKeysAndAnImportBringsTheTextsBackExactly) {
    form().编辑框职务津贴->setTextGbk("");
    form().编辑框正常工作时间工资->setTextGbk(
        "1,820.50元"_gbk);  // as an import of a hand-edited file gives it
    form().编辑框其它加项->setTextGbk("  12 ");
    form().选择框夜班->setChecked(true);
    enterAll();
    ASSERT_TRUE(saveSettings(*app_));
    EXPECT_EQ(fileText(),
              "[工资总项目]\r\n正常工作时间工资=1,820.50元\r\n考核岗位津贴=200\r\n职务津贴=\r\n"
              "地区津贴=0\r\n事假小时数=0\r\n病假小时数=0\r\n旷工小时数=0\r\n社保代扣=175.6\r\n"
              "住房公积金代扣=0\r\n伙食费代扣=400\r\n住宿费代扣=0\r\n技能津贴=300\r\n"
              "特殊岗位津贴=200\r\nG1加班小时数=0\r\nG2加班小时数=0\r\nG3加班小时数=0\r\n"
              "其它减项=0\r\n其它加项=\"  12 \"\r\n夜班=夜班\r\n");

    for (const auto& row : wages::payBoxes<ui::EditBox*>()) (form().*row.box)->setTextGbk("9");
    form().选择框夜班->setChecked(false);
    clickImport();
    const std::vector<std::string> texts = keptTexts();
    EXPECT_EQ(texts[0], "1,820.50元");
    EXPECT_EQ(texts[2], "") << "an empty value stays empty";
    EXPECT_EQ(texts[17], "  12 ");
    EXPECT_EQ(texts[7], "175.6");
    EXPECT_FALSE(form().选择框夜班->isChecked()) << "an import leaves the check box alone";
    EXPECT_EQ(form().编辑框夜班津贴->textGbk(), "9") << "not kept in the file";
}

TEST_F(SettingsTest, AHandEditedFileIsReadAsWrittenAndKeptOnSave) {
    writeFile(
        "; 我的工资\n"
        "[其它]\n"
        "职务津贴=999\n"
        "[ 工资总项目 ]\n"
        "  正常工作时间工资 = 2500 \n"
        "考核岗位津贴=\"300\"\n"
        "g1加班小时数=12\n"
        "G1加班小时数=13\n"
        "技能津贴=\n"
        "备注=自己加的\n");
    clickImport();
    const std::vector<std::string> texts = keptTexts();
    EXPECT_EQ(texts[0], "2500");
    EXPECT_EQ(texts[1], "300");
    EXPECT_EQ(texts[2], "0") << "the key in [其它] is another section's";
    EXPECT_EQ(texts[11], "") << "技能津贴 is present and empty";
    EXPECT_EQ(texts[13], "12") << "the first of two G1 keys";

    form().编辑框1加班小时数->setTextGbk("20");
    ASSERT_TRUE(saveSettings(*app_));
    EXPECT_EQ(fileText(),
              "; 我的工资\n[其它]\n职务津贴=999\n[ 工资总项目 ]\n正常工作时间工资=2500\n"
              "考核岗位津贴=300\ng1加班小时数=20\nG1加班小时数=13\n技能津贴=\n备注=自己加的\n"
              "职务津贴=0\n地区津贴=0\n事假小时数=0\n病假小时数=0\n旷工小时数=0\n社保代扣=0\n"
              "住房公积金代扣=0\n伙食费代扣=0\n住宿费代扣=0\n特殊岗位津贴=0\nG2加班小时数=0\n"
              "G3加班小时数=0\n其它减项=0\n其它加项=0\n")
        << "the imported boxes; the check box was left alone";
}

TEST_F(SettingsTest, TheNightShiftKeyChecksTheBoxOnlyWhenItSaysNightShift) {
    const std::pair<const char*, bool> cases[] = {
        {"[工资总项目]\n夜班=夜班\n", true},
        {"[工资总项目]\n夜班 = \"夜班\"\n", true},  // blanks and quotes are not the value
        {"[工资总项目]\n夜班=白班\n", false},
        {"[工资总项目]\n夜班=\n", false},
        {"[工资总项目]\n夜班=夜班班\n", false},
        {"[工资总项目]\n正常工作时间工资=1\n", false},
        {"[其它]\n夜班=夜班\n", false},
    };
    for (const auto& [file, checked] : cases) {
        writeFile(file);
        form().选择框夜班->setChecked(!checked);
        readShiftSetting(*app_);
        EXPECT_EQ(form().选择框夜班->isChecked(), checked) << file;
    }
    QFile::remove(settingsPath());
    form().选择框夜班->setChecked(true);
    readShiftSetting(*app_);
    EXPECT_FALSE(form().选择框夜班->isChecked()) << "no file";
}

TEST_F(SettingsTest, ASaveThatFailsPartWayLeavesTheOldFileWhole) {
    using platform::testing::Fault;
    writeFile("; 旧的\n[工资总项目]\n正常工作时间工资=3000\n");
    const std::string old = fileText();
    form().编辑框正常工作时间工资->setTextGbk("4000");
    platform::testing::FaultFileSystem faulty;
    recordstore::Registry store(faulty, clock_);
    AppContext app = onDisk(store, faulty);
    app.enteredControls.insert(form().编辑框正常工作时间工资);
    for (Fault fault : {Fault::Eio, Fault::NoSpace, Fault::ShortWrite}) {
        for (int at = 1;; ++at) {
            SCOPED_TRACE(testing::Message() << "fault " << int(fault) << " at call " << at);
            faulty.arm(fault, at);
            const bool saved = saveSettings(app);
            const bool struck = faulty.calls() >= at;
            faulty.disarm();
            const std::string now = fileText();
            EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 1) << "no file left behind";
            if (!saved) {
                EXPECT_EQ(now, old);
            } else {
                EXPECT_NE(now.find("正常工作时间工资=4000"), std::string::npos);
                EXPECT_NE(now.find("; 旧的"), std::string::npos);
                writeFile("; 旧的\n[工资总项目]\n正常工作时间工资=3000\n");
            }
            if (!struck) break;  // the save ran to the end before the fault's turn
        }
    }
}

TEST_F(SettingsTest, TheChoiceOfRulesIsSavedWhenMadeAndKeptBesideTheNineteenKeys) {
    writeFile("; 我的\n[工资总项目]\n正常工作时间工资=3000\n");
    form().高级选择夹1->setCurrentPage(kPageSettings);
    QTest::mouseClick(form().单选框原版规则, Qt::LeftButton);  // chosen already: nothing to save
    EXPECT_EQ(fileText(), "; 我的\n[工资总项目]\n正常工作时间工资=3000\n");
    QTest::mouseClick(form().单选框现行规则, Qt::LeftButton);
    EXPECT_EQ(fileText(), "; 我的\n[工资总项目]\n正常工作时间工资=3000\n计算规则=现行规则\n");
    enterAll();
    ASSERT_TRUE(saveSettings(*app_));
    EXPECT_NE(fileText().find("\n计算规则=现行规则\n"), std::string::npos);
    EXPECT_NE(fileText().find("\n夜班=白班\n"), std::string::npos);
    QTest::mouseClick(form().单选框原版规则, Qt::LeftButton);
    EXPECT_NE(fileText().find("\n计算规则=原版规则\n"), std::string::npos);

    const std::pair<const char*, wages::Rules> kValues[] = {
        {"[工资总项目]\n计算规则=现行规则\n", wages::Rules::Current},
        {"[工资总项目]\n计算规则 = \"现行规则\"\n", wages::Rules::Current},
        {"[工资总项目]\n计算规则=原版规则\n", wages::Rules::Seed},
        {"[工资总项目]\n计算规则=现行\n", wages::Rules::Seed},  // unknown: the original rules
        {"[工资总项目]\n计算规则=\n", wages::Rules::Seed},
        {"[工资总项目]\n夜班=夜班\n", wages::Rules::Seed},
        {"[其它]\n计算规则=现行规则\n", wages::Rules::Seed},
    };
    for (const auto& [file, rules] : kValues) {
        writeFile(file);
        EXPECT_EQ(readRulesSetting(*app_), rules) << file;
    }
}

// The program's window: the page 设置 is made when first shown.
class LazySettingsTest : public SettingsTest {
  protected:
    LazySettingsTest() : SettingsTest(false) {}
};

TEST_F(LazySettingsTest, SettingsIsMadeWhenFirstShownWithTheFilesValues) {
    startWith("[工资总项目]\n专项附加扣除=1000\n上年收入不超过6万元=是\n");
    // The figures count the boxes of 设置, not made yet, at their opening texts.
    ASSERT_FALSE(form().isPageBuilt(kPageSettings));
    const auto opening = wages::wageResultCaptions(
        wages::calculateWages(wages::wageInputs(wages::openingPayTexts())));
    for (std::size_t i = 0; i < opening.size(); ++i)
        EXPECT_EQ((form().*wageResultLabels()[i])->captionGbk(), opening[i]) << i;
    form().高级选择夹1->setCurrentPage(kPageSettings);
    EXPECT_EQ(form().编辑框正常工作天数->textGbk(), "21.75");
    EXPECT_EQ(form().编辑框专项附加扣除->textGbk(), "1000");
    EXPECT_TRUE(form().选择框上年收入不超过6万元->isChecked());
    EXPECT_TRUE(form().单选框原版规则->isChecked());
    EXPECT_FALSE(form().单选框现行规则->isChecked());
}

// Under the current rules the start makes 设置 for its tax settings, and its
// buttons show the choice.
TEST_F(LazySettingsTest, UnderTheCurrentRulesTheStartMakesSettings) {
    startWith("[工资总项目]\n计算规则=现行规则\n专项附加扣除=1000\n");
    ASSERT_TRUE(form().isPageBuilt(kPageSettings));
    EXPECT_EQ(form().编辑框专项附加扣除->textGbk(), "1000");
    EXPECT_TRUE(form().单选框现行规则->isChecked());
    EXPECT_FALSE(form().单选框原版规则->isChecked());
}

TEST_F(SettingsTest, TheWindowStartsUnderTheRulesTheFileNames) {
    startWith("[工资总项目]\n计算规则=现行规则\n");  // on 2013-10-08
    EXPECT_TRUE(form().单选框现行规则->isChecked());
    EXPECT_FALSE(form().单选框原版规则->isChecked());
    EXPECT_EQ(gbk::toUtf8(form().标签计算规则->captionGbk()), "计算规则：现行规则");
    EXPECT_EQ(gbk::toUtf8(form().标签本月G1最多小时数->captionGbk()), "本月G1最多时数：38");
    EXPECT_EQ(gbk::toUtf8(form().标签本月节假日->captionGbk()), "本月法定节假日有：国庆 ");
    EXPECT_EQ(gbk::toUtf8(form().标签本月放假安排->captionGbk()), "放假1日至7日，12日上班");
}

// A disk whose reads fail.
class UnreadableDisk final : public platform::ForwardingFileSystem {
  public:
    std::int64_t read(int, std::span<std::uint8_t>, std::int64_t) override { return -EIO; }
};

TEST_F(SettingsTest, AFileThatCannotBeReadIsSaidSoAndNeitherImportedNorReplaced) {
    writeFile("[工资总项目]\n正常工作时间工资=3000\n其它=我的\n");
    const std::string old = fileText();
    UnreadableDisk disk;
    recordstore::Registry store(disk, clock_);
    AppContext app = onDisk(store, disk);
    form().编辑框正常工作时间工资->setTextGbk("555");
    importSettings(app);
    EXPECT_EQ(form().编辑框正常工作时间工资->textGbk(), "555") << "an import that cannot read";
    readShiftSetting(app);
    app.enteredControls.insert(form().编辑框正常工作时间工资);
    EXPECT_FALSE(saveSettings(app));
    EXPECT_EQ(fileText(), old);
    std::vector<std::string> said;
    for (const auto& m : prompts_.messages()) {
        EXPECT_EQ(m.style.icon, ui::MessageIcon::Error);
        said.push_back(gbk::toUtf8(m.text));
    }
    EXPECT_EQ(said, (std::vector<std::string>{"无法读取配置项目.ini，没有导入任何数据",
                                              "无法读取配置项目.ini，已使用默认值"}));
}

}  // namespace
}  // namespace qinghe::app
