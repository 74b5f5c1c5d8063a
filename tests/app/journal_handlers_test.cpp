// The journal's buttons driven through the real window as a person uses
// them, on a journal in a temporary folder, with the boxes answered from a
// script: recording days, the month's totals and the wage labels over a
// journal of two years, the grid, and the four maintenance buttons, each
// with the failures the person must be told about.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <map>

#include "app/fatal_error_box.h"
#include "common/gbk.h"
#include "form_fixture.h"
#include "journal/journal_maintenance.h"
#include "journal/journal_rows.h"
#include "journal/record_day.h"
#include "recordstore/errors.h"
#include "testing/record_printer.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/grid/grid.h"
#include "ui/page_control.h"
#include "ui/stacked_caption_button.h"
#include "ui/transparent_label.h"
#include "wages/conversions.h"
#include "wages/pay_form.h"
#include "wages/wage_calculation.h"

namespace qinghe::app {
namespace {

using namespace literals;
using ui::MessageIcon;
using ui::MessageResult;

const char* const kPassword = "pw";

class JournalWindowTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        app_->password = kPassword;
        journal::StoreError error;
        ASSERT_TRUE(journal::createJournal(access(), error)) << error.code;
    }

    journal::JournalAccess access(std::string password = kPassword) {
        return app_->folder.journal(std::move(password));
    }

    std::vector<journal::JournalRecord> records(std::string password = kPassword) {
        journal::JournalRows rows;
        journal::StoreError error;
        EXPECT_TRUE(journal::readJournalRows(access(std::move(password)), rows, error));
        std::vector<journal::JournalRecord> all;
        for (std::size_t i = 0; i < rows.size(); ++i) all.push_back(rows.record(i));
        return all;
    }

    // The calendar pop-up sets the picker's date; the date routine presets
    // the kind, the hours and the night shift for that weekday.
    void pick(int year, int month, int day) {
        form().高级选择夹1->setCurrentPage(kPageWages);
        form().日期框1->setDate(QDate(year, month, day));
        QCoreApplication::processEvents();
    }

    // Clicks a kind radio button, which leaves it the only kind checked.
    void chooseKind(ui::RadioButton* kind) {
        QTest::mouseClick(kind, Qt::LeftButton);
        for (ui::RadioButton* b : kindButtons()) b->setChecked(b == kind);
    }

    std::vector<ui::RadioButton*> kindButtons() {
        return {form().单选框加班1, form().单选框加班2, form().单选框加班3,
                form().单选框事假,  form().单选框病假,  form().单选框旷工};
    }

    void type(const char* utf8) {
        QLineEdit* edit = form().组合框->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        // Digits come from the keyboard, Chinese from the input method.
        for (QChar ch : QString::fromUtf8(utf8)) {
            if (ch.unicode() < 0x80) {
                QTest::keyClick(edit, ch.toLatin1());
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(QString(ch));
                QCoreApplication::sendEvent(edit, &commit);
            }
        }
    }

    void setNight(bool night) {
        if (form().选择框夜班->isChecked() != night) {
            QTest::mouseClick(form().选择框夜班, Qt::LeftButton);
        }
    }

    void press(QPushButton* button) {
        const int page = form().高级选择夹1->page(kPageJournal)->isAncestorOf(button) ? kPageJournal
                                                                                      : kPageWages;
        form().高级选择夹1->setCurrentPage(page);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The last message box, in UTF-8, with its icon and caption.
    struct Shown {
        std::string text;
        MessageIcon icon;
        std::string caption;
        friend bool operator==(const Shown&, const Shown&) = default;
    };
    std::vector<Shown> shown() {
        std::vector<Shown> all;
        for (const auto& m : prompts_.messages()) {
            all.push_back({gbk::toUtf8(m.text), m.style.icon, gbk::toUtf8(m.caption)});
        }
        return all;
    }

    std::vector<std::string> totalsBoxes() {
        std::vector<std::string> texts;
        for (ui::EditBox* b :
             {form().编辑框夜班津贴, form().编辑框1加班小时数, form().编辑框2加班小时数,
              form().编辑框3加班小时数, form().编辑框事假时数, form().编辑框旷工时数,
              form().编辑框病假时数}) {
            texts.push_back(b->textGbk());
        }
        return texts;
    }

    std::string label() { return gbk::toUtf8(form().标签当前统计到的加班日期->captionGbk()); }

    // Another open of the journal that keeps every other process out.
    struct Holder {
        explicit Holder(const journal::JournalAccess& a)
            : store(a.fs),
              journal({store, a.fs, a.directory, a.password}, journal::OpenMode::Exclusive) {}
        recordstore::Registry store;
        journal::OpenJournal journal;
    };
};

TEST_F(JournalWindowTest, RecordingADayAsTheBoxesSay) {
    auto status = [this] { return gbk::toUtf8(form().标签状态->captionGbk()); };
    pick(2013, 5, 6);  // a Monday: G1, "2"
    setNight(true);
    press(form().按钮加班记录);
    EXPECT_EQ(status(), "已记录 5月6日 加班G1 2小时");
    pick(2013, 5, 5);  // a Sunday: "休息", night shift cleared
    press(form().按钮加班记录);
    EXPECT_EQ(status(), "已记录 5月5日 休息");
    pick(2013, 5, 7);
    chooseKind(form().单选框病假);
    type("10");
    setNight(true);
    press(form().按钮加班记录);
    EXPECT_EQ(status(), "已记录 5月7日 病假 10小时");
    pick(2013, 5, 8);
    type("早班");
    setNight(true);
    press(form().按钮加班记录);
    pick(2013, 5, 9);
    chooseKind(form().单选框加班1);
    type("7");
    setNight(false);
    press(form().按钮加班记录);
    pick(2013, 5, 10);
    type("0");
    press(form().按钮加班记录);
    EXPECT_TRUE(prompts_.messages().empty());

    using R = journal::JournalRecord;
    const DateTime d = makeDate(2013, 5, 6);
    EXPECT_EQ(records(),
              (std::vector<R>{
                  R{.date = d, .g1 = 2, .weekday = "星期一"_gbk, .nightShift = 1},
                  R{.date = d - 1, .remark = "休息"_gbk, .weekday = "星期日"_gbk},
                  R{.date = d + 1, .sickLeave = 10, .weekday = "星期二"_gbk},
                  R{.date = d + 2, .remark = "早班"_gbk, .weekday = "星期三"_gbk, .nightShift = 1},
                  R{.date = d + 3, .g1 = 7, .weekday = "星期四"_gbk},
                  R{.date = d + 4, .remark = "0", .weekday = "星期五"_gbk},
              }));

    // The same day again, at another time of day and as another kind.
    form().日期框1->setValue(makeDateTime(2013, 5, 6, 23, 59, 0));
    chooseKind(form().单选框加班3);
    press(form().按钮加班记录);
    EXPECT_EQ(shown(),
              (std::vector<Shown>{{"今天已经记录过了。", MessageIcon::Information, "信息："}}));
    EXPECT_EQ(status(), "已记录 5月10日 0") << "only a recorded day is said";

    // Hours without a kind: nothing recorded, nothing said.
    pick(2013, 5, 11);
    for (ui::RadioButton* b : kindButtons()) b->setChecked(false);
    type("8");
    press(form().按钮加班记录);
    EXPECT_EQ(records().size(), 6u);
    EXPECT_EQ(prompts_.messages().size(), 1u);

    // Texts the journal could hold only changed: said so, nothing recorded.
    chooseKind(form().单选框加班1);
    for (const char* text : {"7.9", "1e1", "99", "一二三四五六七八九十个"}) {
        type(text);
        press(form().按钮加班记录);
    }
    EXPECT_EQ(records().size(), 6u);
    const std::vector<Shown> all = shown();
    EXPECT_EQ(std::vector<Shown>(all.begin() + 1, all.end()),
              (std::vector<Shown>{
                  {"“7.9”不是整数时数（时数是 -24 到 24 的整数），没有记录。", MessageIcon::Warning,
                   "信息："},
                  {"“1e1”不是整数时数（时数是 -24 到 24 的整数），没有记录。", MessageIcon::Warning,
                   "信息："},
                  {"“99”不是整数时数（时数是 -24 到 24 的整数），没有记录。", MessageIcon::Warning,
                   "信息："},
                  {"备注“一二三四五六七八九十个”超过 20 个字节（10 个汉字），没有记录。",
                   MessageIcon::Warning, "信息："},
              }));
}

TEST_F(JournalWindowTest, ADayThatCannotBeRecordedIsSaidSo) {
    {
        Holder other(access());
        ASSERT_TRUE(other.journal.isOpen());
        pick(2013, 5, 6);
        press(form().按钮加班记录);
    }
    app_->password = "wrong";
    press(form().按钮加班记录);
    app_->password = kPassword;
    std::filesystem::remove_all(app_->folder.path());
    press(form().按钮加班记录);
    EXPECT_EQ(
        shown(),
        (std::vector<Shown>{
            {"记录失败：无法打开数据库，访问文件时产生共享冲突", MessageIcon::Error, "信息："},
            {"记录失败：无法打开数据库，未提供数据库访问密码或提供了错误的密码", MessageIcon::Error,
             "信息："},
            {"记录失败：无法打开数据库，指定文件未找到", MessageIcon::Error, "信息："},
        }));
}

// Two years of days entered as the date routine presets them, with leave,
// absence, remarks and night shifts on the way; "刷新" then gives each month
// its own totals and wages, never those of the same month a year before.
TEST_F(JournalWindowTest, TwoYearsOfDaysTotalEachMonthOfEachYear) {
    struct Month {
        long g1 = 0, g2 = 0, g3 = 0, personal = 0, sick = 0, absence = 0, nights = 0;
    };
    std::map<std::pair<int, int>, Month> want;
    for (DateTime day = makeDate(2013, 1, 1); day <= makeDate(2014, 12, 31); day += 1) {
        const CivilDate c = dateOf(day);
        pick(c.year, c.month, c.day);
        Month& m = want[{c.year, c.month}];
        const int weekday = weekdayOf(day);
        // Night shifts on Wednesdays in 2013 and on Thursdays in 2014; they
        // count for overtime days only.
        const bool night = weekday == (c.year == 2013 ? 4 : 5);
        setNight(night);
        if (c.day == 10) {
            chooseKind(form().单选框事假);
            type("4");
            m.personal += 4;
        } else if (c.day == 15 && c.year == 2014) {
            chooseKind(form().单选框病假);
            type("8");
            m.sick += 8;
        } else if (c.day == 20) {
            chooseKind(form().单选框旷工);
            type(c.year == 2013 ? "3" : "5");
            m.absence += c.year == 2013 ? 3 : 5;
        } else if (c.month == 10 && c.day <= 3) {
            chooseKind(form().单选框加班3);
            type("8");
            m.g3 += 8;
            m.nights += night;
        } else if (c.day == 25 && weekday != 1) {
            type("补班");
        } else if (weekday == 7) {  // the preset: G2, "10"
            m.g2 += 10;
            m.nights += night;
        } else if (weekday != 1) {  // the preset: G1, "2"; Sundays "休息"
            m.g1 += 2;
            m.nights += night;
        }
        press(form().按钮加班记录);
    }
    ASSERT_TRUE(prompts_.messages().empty());
    EXPECT_EQ(records().size(), 730u);

    for (const auto& [year, month] :
         {std::pair{2013, 5}, {2014, 5}, {2013, 10}, {2014, 10}, {2013, 2}, {2014, 12}}) {
        SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month));
        pick(year, month, 28);
        press(form().按钮刷新);
        const Month& m = want[{year, month}];
        EXPECT_EQ(totalsBoxes(), (std::vector<std::string>{
                                     wages::numberToText(4.5 * static_cast<double>(m.nights)),
                                     std::to_string(m.g1), std::to_string(m.g2),
                                     std::to_string(m.g3), std::to_string(m.personal),
                                     std::to_string(m.absence), std::to_string(m.sick)}));
        EXPECT_EQ(label(), "当前加班统计到：2014年12月31日");
        EXPECT_EQ(app_->pickedMonthText, std::to_string(month));

        wages::PayForm<std::string> texts = wages::openingPayTexts();
        texts.编辑框1加班小时数 = std::to_string(m.g1);
        texts.编辑框2加班小时数 = std::to_string(m.g2);
        texts.编辑框3加班小时数 = std::to_string(m.g3);
        texts.编辑框事假时数 = std::to_string(m.personal);
        texts.编辑框病假时数 = std::to_string(m.sick);
        texts.编辑框旷工时数 = std::to_string(m.absence);
        texts.编辑框夜班津贴 = wages::numberToText(4.5 * static_cast<double>(m.nights));
        const auto captions =
            wages::wageResultCaptions(wages::calculateWages(wages::wageInputs(texts)));
        EXPECT_EQ(form().标签G1工资->captionGbk(), captions[1]);
        EXPECT_EQ(form().标签实发工资->captionGbk(), captions[12]);
        EXPECT_EQ(form().标签个人所得税代扣->captionGbk(), captions[0]);
    }
}

TEST_F(JournalWindowTest, TotalsOverwriteTheBoxesOrLeaveThemWhenTheJournalIsUnreadable) {
    form().编辑框1加班小时数->setTextGbk("99");
    press(form().按钮读取数据库);
    EXPECT_EQ(totalsBoxes(), (std::vector<std::string>(7, "0")));
    EXPECT_EQ(label(), "当前未加班或未记录加班！！！");

    form().编辑框1加班小时数->setTextGbk("99");
    app_->password = "wrong";
    press(form().按钮读取数据库);
    EXPECT_EQ(form().编辑框1加班小时数->textGbk(), "99");
    EXPECT_EQ(shown(), (std::vector<Shown>{{"读取数据库失败：无法打开数据库，"
                                            "未提供数据库访问密码或提供了错误的密码",
                                            MessageIcon::Error, "信息："}}));
}

TEST_F(JournalWindowTest, TheGridShowsTheJournalWhenItsPageOpensOrItIsRefreshed) {
    ui::Grid& grid = *form().高级表格1;
    const QColor grey(192, 192, 192), white(Qt::white);
    pick(2013, 5, 6);
    chooseKind(form().单选框病假);
    type("8");
    press(form().按钮加班记录);
    pick(2013, 5, 4);  // a Saturday: G2, "10"
    press(form().按钮加班记录);
    pick(2013, 5, 5);
    press(form().按钮加班记录);

    form().高级选择夹1->setCurrentPage(kPageJournal);  // the page opens: the grid fills
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.columnWidth(0), 100);
    const std::vector<std::string> header = {"日期",     "G1时数", "G2时数", "G3时数", "事假时数",
                                             "病假时数", "备注",   "星期",   "夜班",   "旷工时数"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(gbk::toUtf8(grid.cellText(0, c)), header[static_cast<std::size_t>(c)]);
    EXPECT_EQ(gbk::toUtf8(grid.cellText(1, 0)), "2013年5月6日");
    EXPECT_EQ(grid.cellText(1, 5), "8");
    EXPECT_EQ(grid.cellBackground(1, 5), grey);
    EXPECT_EQ(grid.cellBackground(1, 4), white);
    EXPECT_EQ(grid.cellBackground(2, 2), grey);
    EXPECT_EQ(gbk::toUtf8(grid.cellText(3, 6)), "休息");
    EXPECT_EQ(grid.cellBackground(3, 6), grey);
    EXPECT_EQ(grid.cellBackground(3, 7), white);
    // Inside the grid the arrow keys move; Tab goes on to the next control.
    grid.table()->setCurrentIndex(grid.table()->model()->index(1, 1));
    grid.table()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(grid.table(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form().按钮表格刷新);

    // A day recorded later shows only after the next fill: the page opening
    // again, or "表格刷新".
    pick(2013, 5, 3);
    press(form().按钮加班记录);
    EXPECT_EQ(grid.rowCount(), 4);
    form().高级选择夹1->setCurrentPage(kPageJournal);
    EXPECT_EQ(grid.rowCount(), 5);
    journal::StoreError error;
    ASSERT_EQ(
        journal::appendDay(access(), {makeDate(2013, 5, 2), "2", journal::Field::G1, false}, error),
        journal::RecordOutcome::Recorded);
    EXPECT_EQ(grid.rowCount(), 5);
    press(form().按钮表格刷新);
    EXPECT_EQ(grid.rowCount(), 6);

    // After a sort every row shows its own day, and a cell that held hours
    // before and now holds none is back on the normal background.
    prompts_.answerMessage(MessageResult::Ok);
    press(form().按钮数据库排序);
    press(form().按钮表格刷新);
    EXPECT_EQ(gbk::toUtf8(grid.cellText(1, 0)), "2013年5月2日");
    EXPECT_EQ(gbk::toUtf8(grid.cellText(5, 0)), "2013年5月6日");
    EXPECT_EQ(grid.cellText(1, 5), "0");
    EXPECT_EQ(grid.cellBackground(1, 5), white);
    EXPECT_EQ(grid.cellBackground(1, 1), grey);  // 2 May: G1
    EXPECT_EQ(grid.cellBackground(5, 5), grey);

    // A journal whose last record a copy cut short: the refresh shows the
    // records there and says what was dropped.
    const std::string file = app_->folder.tableFile(journal::kTableName);
    std::filesystem::resize_file(file, std::filesystem::file_size(file) - 10);
    const std::size_t said = shown().size();
    press(form().按钮表格刷新);
    EXPECT_EQ(grid.rowCount(), 5);
    const std::vector<Shown> all = shown();
    EXPECT_EQ(
        std::vector<Shown>(all.begin() + static_cast<std::ptrdiff_t>(said), all.end()),
        (std::vector<Shown>{{"加班记录的最后一条不完整，已去掉", MessageIcon::Warning, "信息："}}));

    // A refresh that cannot read the journal leaves no rows that would look
    // current: the header row alone, and the reason.
    app_->password = "wrong";
    press(form().按钮表格刷新);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(gbk::toUtf8(grid.cellText(0, 6)), "备注");
    EXPECT_EQ(shown().back().text.rfind("表格刷新失败：", 0), 0u) << shown().back().text;
}

TEST_F(JournalWindowTest, DeletingAsksAboutTheLastDayThenDeletesItAndRefreshes) {
    for (int day : {3, 6}) {
        pick(2013, 5, day);
        press(form().按钮加班记录);
    }
    pick(2013, 5, 20);
    prompts_.answerMessage(MessageResult::Cancel);
    press(form().按钮删除);
    EXPECT_EQ(records().size(), 2u);
    EXPECT_EQ(form().编辑框1加班小时数->textGbk(), "0");  // not refreshed on Cancel

    prompts_.answerMessage(MessageResult::Ok);
    press(form().按钮删除);
    const auto left = records();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].date, makeDate(2013, 5, 3));
    EXPECT_EQ(form().编辑框1加班小时数->textGbk(), "2");  // the refresh ran
    const Shown ask{"确认要删除2013年5月6日的加班记录！", MessageIcon::None, "信息："};
    EXPECT_EQ(prompts_.messages()[0].style.buttons, ui::MessageButtons::OkCancel);

    // Another process replaces the last day while the question is open.
    prompts_.answerMessage(MessageResult::Ok, [&] {
        journal::StoreError error;
        journal::LastRecord third;
        ASSERT_TRUE(journal::readLastRecord(access(), third, error));
        ASSERT_EQ(journal::removeLastRecord(access(), third, error),
                  journal::DeleteOutcome::Deleted);
        ASSERT_EQ(
            journal::appendDay(access(), {makeDate(2013, 5, 7), "8", journal::Field::G1}, error),
            journal::RecordOutcome::Recorded);
    });
    press(form().按钮删除);
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].date, makeDate(2013, 5, 7));
    EXPECT_EQ(shown(), (std::vector<Shown>{
                           ask,
                           ask,
                           {"确认要删除2013年5月3日的加班记录！", MessageIcon::None, "信息："},
                           {"加班记录已被更改，没有删除任何记录，请重新操作。",
                            MessageIcon::Information, "信息："},
                       }));
}

TEST_F(JournalWindowTest, DeletingFromAnEmptyOrUnopenableJournal) {
    prompts_.answerMessage(MessageResult::Ok);
    press(form().按钮删除);
    app_->password = "wrong";
    press(form().按钮删除);
    EXPECT_EQ(shown(), (std::vector<Shown>{
                           {"确认要删除1899年12月30日的加班记录！", MessageIcon::None, "信息："},
                           {"删除记录失败：无法打开数据库，未提供数据库访问密码或提供了错误的密码",
                            MessageIcon::Error, "信息："},
                       }));
}

TEST_F(JournalWindowTest, SortingSaysWhenItIsDoneAndWhenItCouldNotBe) {
    for (int day : {5, 3, 4}) {
        pick(2013, 5, day);
        press(form().按钮加班记录);
    }
    {
        Holder other(access());
        press(form().按钮数据库排序);
    }
    EXPECT_EQ(records()[0].date, makeDate(2013, 5, 5));
    press(form().按钮数据库排序);
    std::vector<DateTime> dates;
    for (const auto& r : records()) dates.push_back(r.date);
    EXPECT_EQ(dates, (std::vector<DateTime>{makeDate(2013, 5, 3), makeDate(2013, 5, 4),
                                            makeDate(2013, 5, 5)}));
    EXPECT_EQ(shown(), (std::vector<Shown>{
                           {"数据库排序失败：无法打开数据库，访问文件时产生共享冲突",
                            MessageIcon::Error, "信息："},
                           {"排序完成！", MessageIcon::Information, "信息："},
                       }));
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(app_->folder.path())) {
        files.push_back(e.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"加班.EDB"});
}

TEST_F(JournalWindowTest, ClearingWarnsAsksForThePasswordAndSaysHowItWent) {
    const Shown warning{"当前操作将清空数据库的所有内容，不可恢复，请确认！", MessageIcon::Warning,
                        "警告"};
    const Shown failed{"数据库清空失败！请确认密码是否正确！", MessageIcon::Warning, "信息："};
    const Shown cleared{"数据库清空成功！", MessageIcon::Information, "信息："};
    struct Case {
        const char* what;
        std::optional<std::string> typed;  // nullopt: the first box is cancelled
        bool cancelPassword;
        std::vector<Shown> want;
        std::size_t left;
    };
    const Case cases[] = {
        {"Cancel at the warning", std::nullopt, false, {warning}, 1},
        {"a wrong password", "nope", false, {warning, failed}, 1},
        {"Cancel at the password", "", true, {warning, failed}, 1},
        {"the right password", kPassword, false, {warning, cleared}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts_ = {};
        if (records().empty()) {
            pick(2013, 5, 6);
            press(form().按钮加班记录);
        }
        prompts_.answerMessage(c.typed ? MessageResult::Ok : MessageResult::Cancel);
        if (c.typed) prompts_.answerInput(c.cancelPassword ? std::nullopt : c.typed);
        press(form().按钮数据库清空);
        EXPECT_EQ(shown(), c.want);
        EXPECT_EQ(prompts_.inputs().size(), c.typed ? 1u : 0u);
        if (c.typed) {
            EXPECT_EQ(gbk::toUtf8(prompts_.inputs()[0].title), "请输入数据库密码");
            EXPECT_EQ(gbk::toUtf8(prompts_.inputs()[0].prompt), "数据库清空后将不可恢复！");
            EXPECT_TRUE(prompts_.inputs()[0].masked);
        }
        EXPECT_EQ(records().size(), c.left);
    }
}

TEST_F(JournalWindowTest, AJournalWithoutPasswordIsClearedOnACancelledPassword) {
    ASSERT_TRUE([&] {
        journal::OpenJournal j(access(), journal::OpenMode::ReadWrite);
        return j.setPassword("");
    }());
    app_->password = "";
    pick(2013, 5, 6);
    press(form().按钮加班记录);
    prompts_.answerMessage(MessageResult::Ok);
    prompts_.answerInput(std::nullopt);
    press(form().按钮数据库清空);
    EXPECT_TRUE(records("").empty());
}

TEST_F(JournalWindowTest, ChangingThePasswordAndTheButtonsAfterwards) {
    struct Case {
        const char* what;
        std::string first, second;
        std::optional<MessageResult> emptyAnswer;
        std::vector<Shown> want;
        std::string password;  // the journal's afterwards
    };
    const Shown mismatch{"两次密码输入不一致！", MessageIcon::Error, "信息："};
    const Shown empty{"是否设定空密码？", MessageIcon::Question, "信息："};
    const Case cases[] = {
        {"two different texts", "a", "b", std::nullopt, {mismatch}, kPassword},
        {"two empty ones, Cancel", "", "", MessageResult::Cancel, {empty}, kPassword},
        {"a new one", "新密码"_gbk, "新密码"_gbk, std::nullopt, {}, "新密码"_gbk},
        {"two empty ones, OK", "", "", MessageResult::Ok, {empty}, ""},
    };
    int day = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts_ = {};
        prompts_.answerInput(c.first);
        prompts_.answerInput(c.second);
        if (c.emptyAnswer) prompts_.answerMessage(*c.emptyAnswer);
        const std::string before = app_->password;
        form().标签状态->setCaptionGbk({});
        press(form().按钮修改数据库密码);
        EXPECT_EQ(shown(), c.want);
        EXPECT_EQ(gbk::toUtf8(form().标签状态->captionGbk()),
                  app_->password != before ? "密码已修改" : "");
        ASSERT_EQ(prompts_.inputs().size(), 2u);
        EXPECT_EQ(gbk::toUtf8(prompts_.inputs()[0].title), "请设置新密码");
        EXPECT_EQ(gbk::toUtf8(prompts_.inputs()[1].title), "请再次输入新密码");
        EXPECT_TRUE(prompts_.inputs()[1].masked);
        EXPECT_EQ(app_->password, c.password);
        // Every other button goes on working with the journal's password.
        pick(2013, 5, day++);
        press(form().按钮加班记录);
        EXPECT_EQ(records(c.password).size(), static_cast<std::size_t>(day - 1));
        EXPECT_EQ(prompts_.messages().size(), c.want.size());
    }
    // A journal that does not open says why and asks for nothing.
    prompts_ = {};
    {
        Holder other(access(app_->password));
        press(form().按钮修改数据库密码);
    }
    EXPECT_TRUE(prompts_.inputs().empty());
    EXPECT_EQ(shown(),
              (std::vector<Shown>{{"修改数据库密码失败：无法打开数据库，访问文件时产生共享冲突",
                                   MessageIcon::Error, "信息："}}));
    // A journal that no longer opens with the window's password (changed
    // elsewhere) says why, and no new password is asked for.
    prompts_ = {};
    app_->password = "另一个"_gbk;
    press(form().按钮修改数据库密码);
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].style.icon, MessageIcon::Error);
    EXPECT_TRUE(prompts_.inputs().empty());
}

TEST(FatalErrorBox, ShowsTheErrorAndEndsTheProgramWithMinusOne) {
    ui::ScriptedPrompts prompts;
    std::vector<int> ended;
    {
        FatalErrorBox box(prompts, [&](int status) { ended.push_back(status); });
        recordstore::Registry store;
        store.readField(1);  // no table is current
    }
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(gbk::toUtf8(prompts.messages()[0].text),
              "运行时出错!\n\n错误代码：-67\n\n错误信息：未指定当前数据库或者指定数据库未打开\n");
    EXPECT_EQ(gbk::toUtf8(prompts.messages()[0].caption), "错误");
    EXPECT_EQ(prompts.messages()[0].style.icon, MessageIcon::Error);
    EXPECT_EQ(ended, std::vector<int>{-1});
    EXPECT_EQ(gbk::toUtf8(fatalErrorText({0, {}})), "运行时出错!\n\n");
}

}  // namespace
}  // namespace qinghe::app
