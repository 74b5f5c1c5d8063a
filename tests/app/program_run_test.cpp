// The program from its first start to everyday use, driven as a person
// drives it: each run is a new window over the same data folder, with the
// password boxes answered from a script and a fixed clock; the journal, the
// settings file and the backup are looked at on disk between runs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "app/settings.h"
#include "app/shutdown.h"
#include "app/wage_handler.h"
#include "common/gbk.h"
#include "datafolder/password.h"
#include "journal/journal_access.h"
#include "payrecord/pay_record.h"
#include "recordstore/record_store.h"
#include "testing/fault_file_system.h"
#include "testing/fixed_clock.h"
#include "testing/recorded_links.h"
#include "testing/scripted_prompts.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/page_control.h"
#include "ui/progress_bar.h"
#include "ui/transparent_label.h"

namespace qinghe::app {
namespace {

namespace fs = std::filesystem;
using namespace literals;
using ui::MessageIcon;

// A box the program showed: its text (UTF-8) and icon.
struct Shown {
    std::string text;
    MessageIcon icon;
    friend bool operator==(const Shown&, const Shown&) = default;
};

// One run of the program: a new window over the data folder.
class ProgramRun {
  public:
    ProgramRun(const fs::path& folder, DateTime now) : clock_(now), form_(now) {
        app_.folder = datafolder::DataFolder(folder.string());
        bindEvents(app_);
    }

    // The answers of the input boxes, in order (nullopt: Cancel).
    ProgramRun& answer(std::initializer_list<std::optional<std::string>> typed) {
        for (const auto& t : typed)
            prompts_.answerInput(t ? std::optional(gbk::fromUtf8(*t).text) : t);
        return *this;
    }

    // Starts the program as main() does; true when the window came up.
    bool start() {
        form_.start();
        QCoreApplication::processEvents();  // a close requested at start-up happens here
        return form_.isVisible();
    }

    void close() { form_.close(); }

    std::vector<std::string> inputTitles() const {
        std::vector<std::string> titles;
        for (const auto& i : prompts_.inputs()) {
            EXPECT_TRUE(i.masked) << gbk::toUtf8(i.title);
            titles.push_back(gbk::toUtf8(i.title));
        }
        return titles;
    }
    std::vector<Shown> shown() const {
        std::vector<Shown> all;
        for (const auto& m : prompts_.messages())
            all.push_back({gbk::toUtf8(m.text), m.style.icon});
        return all;
    }

    void pick(int year, int month, int day) {
        form_.高级选择夹1->setCurrentPage(kPageWages);
        form_.日期框1->setDate(QDate(year, month, day));
        QCoreApplication::processEvents();
    }
    void press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void typeInto(ui::EditBox* box, const char* text) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClicks(box, QString::fromUtf8(text));
    }
    std::string caption(ui::TransparentLabel* label) { return gbk::toUtf8(label->captionGbk()); }
    std::vector<std::string> wageLabels() {
        std::vector<std::string> captions;
        for (auto label : wageResultLabels()) captions.push_back(caption(form_.*label));
        return captions;
    }
    // The files of this run on `disk`, through a record store of their own.
    void useDisk(platform::FileSystem& disk) {
        store_.emplace(disk, clock_);
        app_.folder = datafolder::DataFolder(app_.folder.path(), *store_, disk);
    }

    MainForm& form() { return form_; }
    AppContext& app() { return app_; }
    ui::ScriptedPrompts& prompts() { return prompts_; }

  private:
    FixedClock clock_;
    std::optional<recordstore::Registry> store_;
    ui::ScriptedPrompts prompts_;
    ui::RecordedLinks links_;
    MainForm form_;
    AppContext app_{.form = form_,
                    .prompts = prompts_,
                    .clock = clock_,
                    .folder = datafolder::DataFolder(std::string()),
                    .links = links_};
};

class ProgramRunTest : public testing::Test {
  protected:
    fs::path folder() const { return dir_.path().toStdString(); }
    fs::path backup() const { return folder() / "数据库备份" / "加班备份.edb"; }
    fs::path settings() const { return folder() / "配置项目.ini"; }

    std::unique_ptr<ProgramRun> run(DateTime now) {
        return std::make_unique<ProgramRun>(folder(), now);
    }

    // A run that came up with its password boxes answered by `typed` (the
    // first run's three, or the one of a later start).
    std::unique_ptr<ProgramRun> started(DateTime now,
                                        std::initializer_list<std::optional<std::string>> typed) {
        auto r = run(now);
        r->answer(typed);
        EXPECT_TRUE(r->start());
        return r;
    }

    // The records' dates of a table file opened with `password`, in file order.
    static std::vector<CivilDate> datesIn(const fs::path& file, const std::string& password) {
        recordstore::Registry store;
        std::vector<CivilDate> dates;
        if (!store.openTable(gbk::fromUtf8(file.string()).text, {}, true, 1, password)) {
            ADD_FAILURE() << "cannot open " << file;
            return dates;
        }
        const int n = store.recordCount();
        for (int i = 0; i < n; ++i, store.skip()) {
            dates.push_back(dateOf(std::get<recordstore::Timestamp>(store.readField(1)).days));
        }
        return dates;
    }

    static std::string bytesOf(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    // Gives a file the last-write time of a local date and time.
    static void setWritten(const fs::path& file, int year, int month, int day, int hour) {
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_isdst = -1;
        const auto at = std::chrono::system_clock::from_time_t(std::mktime(&local));
        fs::last_write_time(file, std::chrono::file_clock::from_sys(at));
    }

    QTemporaryDir dir_;
};

TEST_F(ProgramRunTest, AFirstRunAndTheDaysAfter) {
    // The first run: the password set, two wrong tries, then the right one.
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "wrong", "PW", "pw"});
    EXPECT_EQ(first->inputTitles(),
              (std::vector<std::string>{"请设置密码", "确认密码", "请输入密码", "请输入密码",
                                        "请输入密码"}));
    EXPECT_TRUE(first->shown().empty()) << "a wrong password is only asked again";
    MainForm& form = first->form();
    EXPECT_EQ(form.组合框->textGbk(), "2");
    EXPECT_EQ(form.进度条1->minimum(), 1);
    EXPECT_EQ(form.进度条1->maximum(), 31);
    EXPECT_EQ(form.进度条1->position(), 8);
    EXPECT_EQ(first->caption(form.标签本月节假日), "本月法定节假日有：国庆 ");
    EXPECT_EQ(first->caption(form.标签当前统计到的加班日期), "当前未加班或未记录加班！！！");
    EXPECT_EQ(first->app().pickedMonthText, "10");
    EXPECT_NE(first->caption(form.标签实发工资), "标签实发工资") << "the first calculation ran";

    // Days over two months, recorded out of order.
    first->pick(2013, 10, 5);  // a Saturday: G2, 10 hours
    first->press(form.按钮加班记录);
    first->pick(2013, 9, 30);  // a Monday: G1, 2 hours
    first->press(form.按钮加班记录);
    first->pick(2013, 10, 1);  // 国庆: the person chooses G3 (10 hours)
    first->press(form.单选框加班3);
    first->press(form.按钮加班记录);
    first->pick(2013, 10, 7);
    first->press(form.按钮加班记录);
    first->pick(2013, 10, 8);
    first->press(form.按钮读取数据库);
    EXPECT_EQ(form.编辑框1加班小时数->textGbk(), "2");
    EXPECT_EQ(form.编辑框2加班小时数->textGbk(), "10");
    EXPECT_EQ(form.编辑框3加班小时数->textGbk(), "10");
    first->press(form.按钮结果输出);
    EXPECT_NE(first->caption(form.标签G3工资).find("G3"), std::string::npos);
    first->prompts().answerMessage(ui::MessageResult::Ok);
    first->press(form.按钮数据库排序);
    const fs::path journalFile = folder() / "加班.EDB";
    EXPECT_EQ(datesIn(journalFile, "pw"),
              (std::vector<CivilDate>{{2013, 9, 30}, {2013, 10, 1}, {2013, 10, 5}, {2013, 10, 7}}));

    first->typeInto(form.编辑框职务津贴, "500");
    first->close();
    EXPECT_EQ(first->shown(), (std::vector<Shown>{{"排序完成！", MessageIcon::Information},
                                                  {"数据库已备份。", MessageIcon::Information}}));
    EXPECT_EQ(datesIn(backup(), "pw").size(), 4u);
    EXPECT_NE(bytesOf(settings()).find("职务津贴=500"_gbk), std::string::npos);
    setWritten(backup(), 2013, 10, 8, 12);  // as if made at noon of that day

    // The same evening: only the password; no second backup that day. The
    // wage labels are worked out from the month's totals read at start-up.
    auto second = started(makeDateTime(2013, 10, 8, 18, 0, 0), {"pw"});
    EXPECT_EQ(second->inputTitles(), std::vector<std::string>{"请输入密码"});
    EXPECT_EQ(second->form().编辑框3加班小时数->textGbk(), "10");
    const std::vector<std::string> atStart = second->wageLabels();
    second->press(second->form().按钮结果输出);
    EXPECT_EQ(second->wageLabels(), atStart);
    EXPECT_EQ(second->form().编辑框职务津贴->textGbk(), "0") << "the layout's text until imported";
    second->press(second->form().按钮导入);
    EXPECT_EQ(second->form().编辑框职务津贴->textGbk(), "500");
    const auto madeAtNoon = fs::last_write_time(backup());
    second->close();
    EXPECT_TRUE(second->shown().empty());
    EXPECT_EQ(fs::last_write_time(backup()), madeAtNoon);

    // The next morning: a new backup.
    auto third = started(makeDateTime(2013, 10, 9, 8, 0, 0), {"pw"});
    third->close();
    EXPECT_EQ(third->shown(), (std::vector<Shown>{{"数据库已备份。", MessageIcon::Information}}));
    EXPECT_NE(fs::last_write_time(backup()), madeAtNoon);
}

TEST_F(ProgramRunTest, TheFirstRunAsksForThePasswordUntilTheTwoEntriesAgree) {
    std::ofstream(settings(), std::ios::binary)
        << gbk::fromUtf8("[工资总项目]\r\n职务津贴=777\r\n").text;
    const std::string savedSettings = bytesOf(settings());
    // Cancel at either box ends the run and leaves no journal: the next
    // start is a first run again.
    for (int cancelledAt = 0; cancelledAt < 2; ++cancelledAt) {
        auto r = run(makeDateTime(2013, 10, 8, 9, 30, 0));
        if (cancelledAt == 1) r->answer({"abc"});
        r->answer({std::nullopt});
        QSignalSpy destroying(&r->form(), &MainForm::destroying);
        EXPECT_FALSE(r->start());
        EXPECT_EQ(destroying.count(), 1);
        EXPECT_EQ(r->inputTitles().back(), cancelledAt == 0 ? "请设置密码" : "确认密码");
        EXPECT_FALSE(fs::exists(folder() / "加班.EDB"));
    }

    // A journal that cannot be created (a failing disk) is said so and the
    // window closes, asking nothing more.
    {
        platform::testing::FaultFileSystem disk;
        auto r = run(makeDateTime(2013, 10, 8, 9, 30, 0));
        r->useDisk(disk);
        r->answer({"pw", "pw"});
        r->prompts().answerMessage(ui::MessageResult::Ok);
        disk.arm(platform::testing::Fault::Eio, 1);
        EXPECT_FALSE(r->start());
        EXPECT_EQ(r->inputTitles(), (std::vector<std::string>{"请设置密码", "确认密码"}));
        ASSERT_EQ(r->shown().size(), 1u);
        EXPECT_TRUE(r->shown()[0].text.starts_with("创建数据库失败：")) << r->shown()[0].text;
        EXPECT_FALSE(fs::exists(folder() / "加班.EDB"));
    }

    // Two entries that differ, a password the journal refuses, two empty
    // entries not confirmed: each is asked again, until two agree.
    auto first = run(makeDateTime(2013, 10, 8, 9, 30, 0));
    first->answer({"abc", "abd", "?", "?", "", "", "pw", "pw", "pw"});
    for (auto answer : {ui::MessageResult::Ok, ui::MessageResult::Ok, ui::MessageResult::Cancel})
        first->prompts().answerMessage(answer);
    EXPECT_TRUE(first->start());
    std::vector<std::string> titles;
    for (int pair = 0; pair < 4; ++pair) titles.insert(titles.end(), {"请设置密码", "确认密码"});
    titles.push_back("请输入密码");
    EXPECT_EQ(first->inputTitles(), titles);
    EXPECT_EQ(first->shown(),
              (std::vector<Shown>{{"两次密码输入不一致！", MessageIcon::Error},
                                  {"设置密码失败：无效的密码文本", MessageIcon::Error},
                                  {"是否设定空密码？", MessageIcon::Question}}));
    first->close();
    EXPECT_EQ(datesIn(folder() / "加班.EDB", "pw").size(), 0u) << "the journal has the password";
    EXPECT_EQ(bytesOf(settings()), savedSettings) << "nothing entered, nothing saved";

    // No password, as the person chose it: a month without statutory
    // holidays, and an empty journal, which is not backed up.
    fs::remove(folder() / "加班.EDB");
    auto second = run(makeDateTime(2013, 11, 12, 10, 0, 0));
    second->answer({"", "", ""});
    second->prompts().answerMessage(ui::MessageResult::Ok);
    EXPECT_TRUE(second->start());
    EXPECT_EQ(second->inputTitles(),
              (std::vector<std::string>{"请设置密码", "确认密码", "请输入密码"}));
    EXPECT_EQ(second->caption(second->form().标签本月节假日), "");
    EXPECT_EQ(second->form().进度条1->maximum(), 30);
    EXPECT_EQ(second->form().进度条1->position(), 12);
    second->close();
    EXPECT_EQ(second->shown().size(), 1u) << "an empty journal is not backed up";
    EXPECT_FALSE(fs::exists(folder() / "数据库备份"));
    EXPECT_EQ(datesIn(folder() / "加班.EDB", "").size(), 0u);
}

TEST_F(ProgramRunTest, OnlyWhatThePersonEnteredOrImportedIsSaved) {
    auto keys = [this] { return gbk::toUtf8(bytesOf(settings())); };
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->typeInto(first->form().编辑框正常工作时间工资, "6000");
    first->close();
    EXPECT_EQ(keys(), "[工资总项目]\r\n正常工作时间工资=6000\r\n");

    // Opened only to record a day: the form as it opened replaces nothing.
    auto second = started(makeDateTime(2013, 10, 9, 9, 30, 0), {"pw"});
    second->press(second->form().按钮加班记录);
    second->close();
    EXPECT_EQ(keys(), "[工资总项目]\r\n正常工作时间工资=6000\r\n");

    // One box typed into and the night shift changed: those two are saved.
    auto third = started(makeDateTime(2013, 10, 10, 9, 30, 0), {"pw"});
    third->typeInto(third->form().编辑框职务津贴, "500");
    third->press(third->form().选择框夜班);
    third->close();
    EXPECT_EQ(keys(), "[工资总项目]\r\n正常工作时间工资=6000\r\n职务津贴=500\r\n夜班=夜班\r\n");

    // An import is the person's too: the eighteen boxes as they stand.
    auto fourth = started(makeDateTime(2013, 10, 31, 9, 30, 0), {"pw"});
    EXPECT_EQ(fourth->form().编辑框正常工作时间工资->textGbk(), "1820");
    fourth->press(fourth->form().按钮导入);
    EXPECT_EQ(fourth->form().编辑框正常工作时间工资->textGbk(), "6000");
    fourth->close();
    const std::string saved = keys();
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '='), 19) << saved;
    EXPECT_NE(saved.find("正常工作时间工资=6000\r\n"), std::string::npos);
    EXPECT_NE(saved.find("考核岗位津贴=200\r\n"), std::string::npos);
}

// The record store's own password dialog, installed for the data folder as
// qinghe-cli installs it; it counts its showings and is cancelled.
class CountingDialog final : public recordstore::PasswordPrompt {
  public:
    std::optional<std::string> ask(int) override {
        ++shown;
        return std::nullopt;
    }
    int shown = 0;
};

TEST_F(ProgramRunTest, AQuestionMarkIsAWrongPasswordAndNeverTheRecordStoresDialog) {
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->press(first->form().按钮加班记录);
    first->close();

    CountingDialog dialog;
    auto second = run(makeDateTime(2013, 10, 9, 9, 30, 0));
    second->app().folder.setPasswordPrompt(&dialog);
    second->answer({"?", "pw"});
    ASSERT_TRUE(second->start());
    EXPECT_EQ(second->inputTitles(), (std::vector<std::string>{"请输入密码", "请输入密码"}));
    second->prompts().answerMessage(ui::MessageResult::Ok);
    second->prompts().answerMessage(ui::MessageResult::Ok);
    second->prompts().answerInput("?");
    second->press(second->form().按钮数据库清空);
    EXPECT_EQ(second->shown().back(),
              (Shown{"数据库清空失败！请确认密码是否正确！", MessageIcon::Warning}));
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_EQ(datesIn(folder() / "加班.EDB", "pw").size(), 1u);
}

TEST_F(ProgramRunTest, CancelAtThePasswordEndsTheProgramAndTouchesNothing) {
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->press(first->form().按钮加班记录);
    first->close();
    fs::remove_all(folder() / "数据库备份");
    const std::string savedSettings = bytesOf(settings());

    auto second = run(makeDateTime(2013, 10, 9, 9, 30, 0));
    second->answer({"nope", std::nullopt});
    EXPECT_FALSE(second->start());
    EXPECT_EQ(second->inputTitles(), (std::vector<std::string>{"请输入密码", "请输入密码"}));
    EXPECT_TRUE(second->form().isClosing());
    EXPECT_EQ(second->caption(second->form().标签本月节假日), "标签本月节假日")
        << "nothing after the password ran";
    EXPECT_EQ(second->form().进度条1->maximum(), 100);
    EXPECT_EQ(bytesOf(settings()), savedSettings);
    EXPECT_FALSE(fs::exists(folder() / "数据库备份"));
    EXPECT_TRUE(second->shown().empty());
}

TEST_F(ProgramRunTest, ABackupOrSettingsSaveThatFailsPartWayLeavesThePreviousFiles) {
    using platform::testing::Fault;
    // Yesterday's backup of one record; today the journal holds two.
    auto setup = started(makeDateTime(2013, 10, 7, 9, 30, 0), {"pw", "pw", "pw"});
    setup->press(setup->form().按钮加班记录);
    setup->close();
    setWritten(backup(), 2013, 10, 7, 12);
    auto today = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw"});
    today->pick(2013, 10, 8);
    today->press(today->form().按钮加班记录);
    today->typeInto(today->form().编辑框职务津贴, "321");
    const std::string oldBackup = bytesOf(backup());
    const std::string oldSettings = bytesOf(settings());

    platform::testing::FaultFileSystem faulty;
    recordstore::Registry store(faulty, today->app().clock);
    AppContext& real = today->app();
    AppContext app{.form = real.form,
                   .prompts = real.prompts,
                   .clock = real.clock,
                   .folder = datafolder::DataFolder(real.folder.path(), store, faulty),
                   .links = real.links,
                   .password = real.password,
                   .started = true,
                   .enteredControls = real.enteredControls};
    int failedBackups = 0;
    int failedSaves = 0;
    for (Fault fault : {Fault::Eio, Fault::NoSpace, Fault::ShortWrite}) {
        for (int at = 1;; ++at) {
            SCOPED_TRACE(testing::Message() << "fault " << int(fault) << " at call " << at);
            const std::size_t shownBefore = today->prompts().messages().size();
            faulty.arm(fault, at);
            onWindowDestroying(app);
            const bool struck = faulty.calls() >= at;
            faulty.disarm();

            const std::vector<Shown> all = today->shown();
            const Shown notSaved{"无法保存配置项目.ini，本次输入的数据没有保存",
                                 MessageIcon::Error};
            const bool saveFailed = all.size() > shownBefore && all[shownBefore] == notSaved;
            failedSaves += saveFailed;
            ASSERT_EQ(all.size(), shownBefore + 1 + saveFailed)
                << "the backup's box, done or failed, after one for a failed save";
            const Shown said = all.back();
            const std::size_t records = datesIn(backup(), "pw").size();
            if (said == Shown{"数据库已备份。", MessageIcon::Information}) {
                EXPECT_EQ(records, 2u);
            } else {
                ++failedBackups;
                EXPECT_EQ(said.icon, MessageIcon::Error);
                EXPECT_EQ(said.text.rfind("数据库备份失败：", 0), 0u) << said.text;
                // The previous backup, whole; or, when only the flush after
                // the move failed, the new one, whole.
                EXPECT_TRUE(bytesOf(backup()) == oldBackup || records == 2u);
            }
            const std::string settingsNow = bytesOf(settings());
            const bool saved = settingsNow.find("职务津贴=321"_gbk) != std::string::npos;
            EXPECT_TRUE(settingsNow == oldSettings || saved);
            if (!saved) {
                EXPECT_TRUE(saveFailed) << "a save that did not happen is said";
            }
            for (const auto& entry : fs::directory_iterator(backup().parent_path())) {
                EXPECT_EQ(entry.path(), backup()) << "nothing left beside the backup";
            }
            // Back to yesterday's backup and the old settings for the next round.
            std::ofstream(backup(), std::ios::binary | std::ios::trunc) << oldBackup;
            setWritten(backup(), 2013, 10, 7, 12);
            std::ofstream(settings(), std::ios::binary | std::ios::trunc) << oldSettings;
            if (!struck) break;
        }
    }
    EXPECT_GT(failedBackups, 3);
    EXPECT_GT(failedSaves, 3);
}

TEST_F(ProgramRunTest, ADataFolderWhosePathHasNoGbkFormWorksThroughAWholeRun) {
    const fs::path odd = folder() / "Jörg ñ 한글 🙂";
    fs::create_directory(odd);
    auto runIn = [&](DateTime now, std::initializer_list<std::optional<std::string>> typed) {
        auto r = std::make_unique<ProgramRun>(odd, now);
        r->answer(typed);
        EXPECT_TRUE(r->start());
        return r;
    };
    auto first = runIn(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->pick(2013, 10, 8);
    first->press(first->form().按钮加班记录);
    first->pick(2013, 10, 7);
    first->press(first->form().按钮加班记录);
    first->prompts().answerMessage(ui::MessageResult::Ok);
    first->press(first->form().按钮数据库排序);
    first->typeInto(first->form().编辑框职务津贴, "500");
    first->close();
    EXPECT_EQ(first->shown(), (std::vector<Shown>{{"排序完成！", MessageIcon::Information},
                                                  {"数据库已备份。", MessageIcon::Information}}));
    EXPECT_TRUE(fs::is_regular_file(odd / "数据库备份" / "加班备份.edb"));
    EXPECT_NE(bytesOf(odd / "配置项目.ini").find("职务津贴=500"_gbk), std::string::npos);

    auto second = runIn(makeDateTime(2013, 10, 9, 9, 30, 0), {"pw", "新", "新"});
    second->press(second->form().按钮读取数据库);
    EXPECT_EQ(second->form().编辑框1加班小时数->textGbk(), "4");
    second->press(second->form().按钮修改数据库密码);
    EXPECT_EQ(second->caption(second->form().标签状态), "密码已修改");
    second->close();

    auto third = runIn(makeDateTime(2013, 10, 10, 9, 30, 0), {"pw", "新"});
    EXPECT_EQ(third->inputTitles(), (std::vector<std::string>{"请输入密码", "请输入密码"}));
    EXPECT_EQ(third->shown(), std::vector<Shown>{});
}

// Two backups that were once skipped without a word: of a journal that no
// longer opens with the run's password, and over a backup dated after today.
TEST_F(ProgramRunTest, AShutDownBackupThatCannotRunOrReplacesAFutureOneSaysSo) {
    auto first = started(makeDateTime(2013, 10, 7, 9, 30, 0), {"pw", "pw", "pw"});
    first->press(first->form().按钮加班记录);
    journal::StoreError error;
    ASSERT_TRUE(datafolder::changePassword(first->app().folder, "pw", "elsewhere", error));
    first->close();
    EXPECT_EQ(first->shown(),
              (std::vector<Shown>{
                  {"数据库备份失败：无法打开数据库，未提供数据库访问密码或提供了错误的密码",
                   MessageIcon::Error}}));
    EXPECT_FALSE(fs::exists(backup()));

    auto second = started(makeDateTime(2013, 10, 7, 10, 0, 0), {"elsewhere"});
    second->close();
    setWritten(backup(), 2014, 1, 1, 12);  // made while the clock was ahead
    const auto future = fs::last_write_time(backup());
    auto third = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"elsewhere"});
    third->close();
    EXPECT_EQ(
        third->shown(),
        (std::vector<Shown>{
            {"数据库已备份。原有备份的日期晚于今天（电脑时钟曾经不准？），已被今天的备份替换。",
             MessageIcon::Warning}}));
    EXPECT_NE(fs::last_write_time(backup()), future);
}

// A journal or a pay record whose count passes the records its file holds
// (a copy or a restore cut short) opens at start-up, cut back to the records
// there, and the person is told which lost its last record.
TEST_F(ProgramRunTest, ATableCutShortOpensAtStartUpCutBackAndSaysSo) {
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    for (int day : {7, 8}) {
        first->pick(2013, 10, day);
        first->press(first->form().按钮加班记录);
    }
    payrecord::PayRow row;
    row.year = 2025;
    row.month = 1;
    journal::StoreError error;
    ASSERT_TRUE(payrecord::writeMonth(first->app().folder.journal("pw"), row, error));
    row.month = 2;
    ASSERT_TRUE(payrecord::writeMonth(first->app().folder.journal("pw"), row, error));
    first->close();
    for (const char* name : {"加班.EDB", "工资记录.EDB"}) {
        fs::resize_file(folder() / name, fs::file_size(folder() / name) - 10);
    }
    auto second = started(makeDateTime(2013, 10, 9, 9, 30, 0), {"pw"});
    EXPECT_EQ(second->inputTitles(), std::vector<std::string>{"请输入密码"});
    EXPECT_EQ(second->shown(),
              (std::vector<Shown>{{"加班记录的最后一条不完整，已去掉", MessageIcon::Warning},
                                  {"工资记录的最后一条不完整，已去掉", MessageIcon::Warning}}));
    EXPECT_EQ(datesIn(folder() / "加班.EDB", "pw"), (std::vector<CivilDate>{{2013, 10, 7}}));
    std::vector<payrecord::PayRow> rows;
    ASSERT_TRUE(payrecord::readPayRows(second->app().folder.journal("pw"), rows, error));
    EXPECT_EQ(rows.size(), 1u);
    second->close();
    auto third = started(makeDateTime(2013, 10, 9, 10, 0, 0), {"pw"});
    EXPECT_EQ(third->shown(), std::vector<Shown>{}) << "said once";
}

// A pay record that refuses the folder's password is named as the pay
// record; a damaged one is said to be damaged and never asked for a password
// of its own, which cannot help; the backup at close says which table it
// could not copy.
TEST_F(ProgramRunTest, APayRecordThatCannotBeOpenedIsNamedAndADamagedOneSaidDamaged) {
    auto first = started(makeDateTime(2013, 10, 7, 9, 30, 0), {"pw", "pw", "pw"});
    first->press(first->form().按钮加班记录);
    journal::StoreError error;
    payrecord::PayRow january;
    january.year = 2025;
    january.month = 1;
    ASSERT_TRUE(payrecord::writeMonth(first->app().folder.journal("pw"), january, error));
    first->close();
    const fs::path payRecord = folder() / "工资记录.EDB";
    const std::string whole = bytesOf(payRecord);

    // Its password check damaged: one box, no password asked, and the
    // backup at close copies the journal alone.
    std::string damaged = whole;
    damaged.replace(30, 8, "XXXXXXXX");
    std::ofstream(payRecord, std::ios::binary | std::ios::trunc) << damaged;
    auto second = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw"});
    second->close();
    EXPECT_EQ(second->inputTitles(), std::vector<std::string>{"请输入密码"});
    EXPECT_EQ(
        second->shown(),
        (std::vector<Shown>{
            {"工资记录文件已损坏，密码校验部分已损坏，任何密码都打不开", MessageIcon::Warning},
            {"加班数据库已备份；工资记录未能备份：文件已损坏，密码校验部分已损坏，任何密码都打不开",
             MessageIcon::Warning}}));
    EXPECT_EQ(datesIn(backup(), "pw").size(), 1u);

    // Whole, with another password: asked for its own (Cancel), and the
    // backup at close names it.
    std::ofstream(payRecord, std::ios::binary | std::ios::trunc) << whole;
    ASSERT_TRUE(datafolder::bringToPassword(second->app().folder, payrecord::kTableName, "pw",
                                            "other", error));
    auto third = run(makeDateTime(2013, 10, 9, 9, 30, 0));
    third->answer({"pw", std::nullopt});
    ASSERT_TRUE(third->start());
    third->close();
    EXPECT_EQ(third->inputTitles(), (std::vector<std::string>{"请输入密码", "请输入密码"}));
    EXPECT_EQ(gbk::toUtf8(third->prompts().inputs()[1].prompt),
              "工资记录的密码与加班数据库的不一致，请输入工资记录的密码");
    EXPECT_EQ(third->shown(),
              (std::vector<Shown>{
                  {"加班数据库已备份；工资记录未能备份：未提供数据库访问密码或提供了错误的密码",
                   MessageIcon::Warning}}));
}

// A folder in the backup's place, or a file in the backup folder's, is said
// in words, and nothing in it changes.
TEST_F(ProgramRunTest, SomethingElseInTheBackupsPlaceIsSaidInWords) {
    const struct {
        const char* what;
        std::function<void(const fs::path&)> occupy;
        const char* said;
    } cases[] = {
        {"a folder", [](const fs::path& file) { fs::create_directories(file); },
         "数据库备份失败：备份的位置被文件夹“加班备份.edb”占用"},
        {"a file", [](const fs::path& file) { std::ofstream(file.parent_path()) << "mine"; },
         "数据库备份失败：无法创建文件夹 数据库备份：同名的文件已经存在"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder());
        fs::create_directory(folder());
        auto first = started(makeDateTime(2013, 10, 7, 9, 30, 0), {"pw", "pw", "pw"});
        first->press(first->form().按钮加班记录);
        c.occupy(backup());
        first->close();
        EXPECT_EQ(first->shown(), (std::vector<Shown>{{c.said, MessageIcon::Error}}));
        EXPECT_FALSE(fs::is_regular_file(backup()));
    }
}

// The permission bits of a file (a link's target's).
unsigned modeOf(const fs::path& file) {
    return static_cast<unsigned>(fs::status(file).permissions()) & 0777u;
}

TEST_F(ProgramRunTest, FilesKeepTheirProtectionAndTheirLinks) {
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->pick(2013, 10, 8);
    first->press(first->form().按钮加班记录);
    first->typeInto(first->form().编辑框职务津贴, "400");
    first->close();
    // What the program creates in the data folder is the person's alone.
    EXPECT_EQ(modeOf(folder() / "加班.EDB"), 0600u);
    EXPECT_EQ(modeOf(settings()), 0600u);
    EXPECT_EQ(modeOf(backup()), 0600u);
    EXPECT_EQ(modeOf(backup().parent_path()), 0700u);

    // The person keeps the journal and the settings elsewhere, behind
    // links, and lets a group read them and the backup.
    const fs::path elsewhere = folder() / "elsewhere";
    fs::create_directory(elsewhere);
    for (const char* name : {"加班.EDB", "配置项目.ini"}) {
        fs::rename(folder() / name, elsewhere / name);
        fs::create_symlink(elsewhere / name, folder() / name);
        fs::permissions(elsewhere / name, fs::perms(0640));
    }
    fs::permissions(backup(), fs::perms(0640));
    setWritten(backup(), 2013, 10, 8, 12);

    // The next day: a day recorded, the journal sorted, the settings saved
    // and the journal backed up, each by replacing its file.
    auto second = started(makeDateTime(2013, 10, 9, 9, 30, 0), {"pw"});
    second->pick(2013, 10, 7);
    second->press(second->form().按钮加班记录);
    second->press(second->form().按钮数据库排序);
    second->typeInto(second->form().编辑框职务津贴, "500");
    second->close();
    EXPECT_EQ(second->shown(), (std::vector<Shown>{{"排序完成！", MessageIcon::Information},
                                                   {"数据库已备份。", MessageIcon::Information}}));
    for (const char* name : {"加班.EDB", "配置项目.ini"}) {
        EXPECT_TRUE(fs::is_symlink(folder() / name)) << name;
        EXPECT_EQ(modeOf(elsewhere / name), 0640u) << name;
    }
    EXPECT_EQ(datesIn(elsewhere / "加班.EDB", "pw"),
              (std::vector<CivilDate>{{2013, 10, 7}, {2013, 10, 8}}));
    EXPECT_NE(bytesOf(elsewhere / "配置项目.ini").find("职务津贴=500"_gbk), std::string::npos);
    EXPECT_EQ(modeOf(backup()), 0640u);
    EXPECT_EQ(datesIn(backup(), "pw").size(), 2u);
}

// Watches a FIFO from another thread: whenever a reader waits at it, opens
// its writing end for a moment, which lets the reader go on (it reads
// nothing), and counts it. Ends the test process when a reader still hangs
// after a minute.
class FifoWatch {
  public:
    explicit FifoWatch(const fs::path& fifo) : fifo_(fifo) {
        EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        ::alarm(60);
        thread_ = std::thread([this] {
            while (!stop_) {
                const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    ++readers_;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;
    ~FifoWatch() {
        stop_ = true;
        thread_.join();
        ::alarm(0);
    }
    int readersThatWaited() const { return readers_; }

  private:
    fs::path fifo_;
    std::atomic<bool> stop_{false};
    std::atomic<int> readers_{0};
    std::thread thread_;
};

TEST_F(ProgramRunTest, AFifoInPlaceOfTheJournalOrTheSettingsIsRefusedAtOnce) {
    {
        FifoWatch journal(folder() / "加班.EDB");
        auto first = run(makeDateTime(2013, 10, 8, 9, 30, 0));
        first->answer({"pw", "pw"});
        EXPECT_FALSE(first->start());
        EXPECT_EQ(journal.readersThatWaited(), 0);
        // One message, and no password box after it: no password can help.
        EXPECT_EQ(first->inputTitles(), std::vector<std::string>{"请输入密码"});
        EXPECT_EQ(
            first->shown(),
            (std::vector<Shown>{{"打开数据库失败：指定文件不是数据库文件", MessageIcon::Error}}));
    }
    fs::remove(folder() / "加班.EDB");
    auto second = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    second->close();
    fs::remove(settings());
    FifoWatch fifo(settings());
    auto third = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw"});
    third->press(third->form().按钮导入);
    EXPECT_EQ(third->form().编辑框正常工作时间工资->textGbk(), "1820");
    third->close();
    EXPECT_EQ(fifo.readersThatWaited(), 0);
    EXPECT_EQ(fs::status(settings()).type(), fs::file_type::fifo) << "never replaced";
}

// A journal whose password check is damaged opens with no password: the
// right one is said to find it damaged, once, and the window closes.
TEST_F(ProgramRunTest, ADamagedJournalIsSaidOnceAndTheWindowCloses) {
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->close();
    std::string bytes = bytesOf(folder() / "加班.EDB");
    bytes.replace(30, 8, "XXXXXXXX");
    std::ofstream(folder() / "加班.EDB", std::ios::binary | std::ios::trunc) << bytes;
    auto second = run(makeDateTime(2013, 10, 8, 9, 30, 0));
    second->answer({"wrong", "pw", "pw"});
    EXPECT_FALSE(second->start());
    EXPECT_EQ(second->inputTitles(), (std::vector<std::string>{"请输入密码", "请输入密码"}))
        << "a wrong password is asked again; the right one finds the damage";
    EXPECT_EQ(
        second->shown(),
        (std::vector<Shown>{{"打开数据库失败：文件已损坏，密码校验部分已损坏，任何密码都打不开",
                             MessageIcon::Error}}));
}

// A journal or a settings file that is there but cannot be opened (behind a
// folder without permission, without permission to read it, on a failing
// disk) is never taken for a missing one: no journal is created over it, no
// settings file written over it.
TEST_F(ProgramRunTest, AFileThatIsThereButCannotBeOpenedIsNeverTakenForAMissingOne) {
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->close();
    std::ofstream(settings(), std::ios::binary | std::ios::trunc)
        << gbk::fromUtf8("[工资总项目]\r\n职务津贴=500\r\n其它=我的\r\n").text;
    const std::string journalBytes = bytesOf(folder() / "加班.EDB");
    const std::string settingsBytes = bytesOf(settings());
    for (int error : {-EACCES, -EIO}) {
        SCOPED_TRACE(error);
        platform::testing::FaultFileSystem disk;
        disk.refuse("加班.EDB", error, true);
        auto journal = run(makeDateTime(2013, 10, 9, 9, 30, 0));
        journal->useDisk(disk);
        journal->answer({"pw", std::nullopt});
        EXPECT_FALSE(journal->start());
        EXPECT_EQ(journal->inputTitles(), std::vector<std::string>{"请输入密码"})
            << "no password opens it: one message, then the window closes";
        ASSERT_EQ(journal->shown().size(), 1u);
        EXPECT_EQ(journal->shown()[0].text.rfind("打开数据库失败：", 0), 0u)
            << journal->shown()[0].text;

        platform::testing::FaultFileSystem otherDisk;
        otherDisk.refuse("配置项目.ini", error, false);
        auto settingsRun = started(makeDateTime(2013, 10, 9, 9, 30, 0), {"pw"});
        settingsRun->useDisk(otherDisk);
        settingsRun->typeInto(settingsRun->form().编辑框职务津贴, "9");
        settingsRun->close();
        EXPECT_EQ(bytesOf(settings()), settingsBytes) << "its keys stay";
    }
    EXPECT_EQ(bytesOf(folder() / "加班.EDB"), journalBytes);
}

TEST_F(ProgramRunTest, ASettingsFileTooLargeIsSaidAtStartUpImportAndSave) {
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->close();
    std::ofstream(settings(), std::ios::binary | std::ios::trunc)
        << gbk::fromUtf8("[工资总项目]\r\n夜班=夜班\r\n职务津贴=500\r\n").text;
    const std::uintmax_t huge = std::uintmax_t{1} << 40;  // a hole, as the disk keeps it
    fs::resize_file(settings(), huge);

    auto second = started(makeDateTime(2013, 10, 8, 10, 0, 0), {"pw"});
    EXPECT_FALSE(second->form().选择框夜班->isChecked());
    second->typeInto(second->form().编辑框职务津贴, "5");
    second->press(second->form().按钮导入);
    EXPECT_EQ(second->form().编辑框职务津贴->textGbk(), "5") << "an import that cannot read";
    second->close();
    EXPECT_EQ(second->shown(),
              (std::vector<Shown>{
                  {"无法读取配置项目.ini：文件超过 4 MiB，已使用默认值", MessageIcon::Error},
                  {"无法读取配置项目.ini：文件超过 4 MiB，没有导入任何数据", MessageIcon::Error},
                  {"无法保存配置项目.ini，本次输入的数据没有保存", MessageIcon::Error},
              }));
    EXPECT_EQ(fs::file_size(settings()), huge) << "never replaced";
}

TEST_F(ProgramRunTest, WhatAKilledSettingsSaveLeftIsRemovedByTheNextSave) {
    auto first = started(makeDateTime(2013, 10, 8, 9, 30, 0), {"pw", "pw", "pw"});
    first->typeInto(first->form().编辑框职务津贴, "500");
    // A save ended by a crash at its first write, in a process of its own.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::testing::FaultFileSystem crashing;
        recordstore::Registry store(crashing, first->app().clock);
        AppContext app{.form = first->form(),
                       .prompts = first->prompts(),
                       .clock = first->app().clock,
                       .folder = datafolder::DataFolder(folder().string(), store, crashing),
                       .links = first->app().links,
                       .enteredControls = first->app().enteredControls};
        crashing.arm(platform::testing::Fault::Crash, 2);
        saveSettings(app);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), platform::testing::kCrashStatus);
    auto leftovers = [&] {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder())) {
            const std::string name = e.path().filename().string();
            if (name.starts_with("配置项目.ini.~")) names.push_back(name);
        }
        return names;
    };
    ASSERT_EQ(leftovers().size(), 1u);
    first->close();
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qinghe::app
