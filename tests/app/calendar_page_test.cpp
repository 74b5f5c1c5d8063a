// The page "月历" as a person uses it on 8 October 2013 under 现行规则, over a
// journal in a temporary folder: a click and the keyboard pick days (and
// the date-change routine presets them), each day the keyboard reaches says
// what its cell shows, the chart's months say their figures, and either view
// is saved as a picture where the scripted box says.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QXmlStreamReader>
#include <filesystem>
#include <tuple>

#include "app/journal_support.h"
#include "app/journal_views.h"
#include "app/rules_choice.h"
#include "common/gbk.h"
#include "drawing/calendar_painter.h"
#include "drawing/chart_painter.h"
#include "form_fixture.h"
#include "journal/journal_maintenance.h"
#include "journal/record_day.h"
#include "payrecord/pay_record.h"
#include "pictures/year_chart.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/picture_button.h"

namespace qinghe::app {
namespace {

using namespace literals;

class CalendarPageTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        journal::StoreError error;
        ASSERT_TRUE(journal::createJournal(journalAccess(*app_), error)) << error.code;
        showRules(*app_, wages::Rules::Current);
        for (const auto& [day, text] : {std::pair(1, "8"), std::pair(7, "6"), std::pair(8, "2")}) {
            const journal::DayEntry entry{makeDate(2013, 10, day), text, journal::Field::G3,
                                          day == 7};
            ASSERT_EQ(journal::appendDay(journalAccess(*app_), entry, error),
                      journal::RecordOutcome::Recorded);
        }
        form().高级选择夹1->setCurrentPage(kPageCalendar);
    }

    CalendarView& calendar() { return *form().月历1; }
    QString name(QWidget& view) { return view.accessibleName(); }

    void clickDay(int day) {
        const drawing::CalendarLayout layout =
            drawing::calendarLayout(calendar().calendar(), calendar().size());
        const QRectF cell = layout.cell(calendar().calendar(), static_cast<std::size_t>(day) - 1);
        QTest::mouseClick(&calendar(), Qt::LeftButton, {}, cell.center().toPoint());
    }
};

TEST_F(CalendarPageTest, AClickPicksTheDayAndPresetsItAsThePickerWould) {
    ASSERT_EQ(calendar().calendar().month, 10);
    clickDay(12);  // a make-up working Saturday: G1, 2 hours
    EXPECT_EQ(form().日期框1->value(), makeDateTime(2013, 10, 12, 9, 30, 0));
    EXPECT_TRUE(form().单选框加班1->isChecked());
    EXPECT_EQ(form().组合框->textGbk(), "2");
    EXPECT_EQ(calendar().pickedDay(), 11);
    clickDay(1);  // 国庆: G3, 10 hours
    EXPECT_TRUE(form().单选框加班3->isChecked());
    EXPECT_EQ(form().组合框->textGbk(), "10");
    EXPECT_EQ(name(calendar()), QStringLiteral("10月1日 星期二 法定节假日 国庆 加班G3 8小时"));
}

TEST_F(CalendarPageTest, TheKeyboardReachesEveryDayAndEachSaysWhatItShows) {
    calendar().setFocus(Qt::TabFocusReason);
    const struct {
        Qt::Key key;
        const char* name;
    } walk[] = {
        {Qt::Key_Left, "10月7日 星期一 放假 加班G3 6小时 夜班"},
        {Qt::Key_Up, "9月30日 星期一 未记录"},  // into September
        {Qt::Key_Down, "10月7日 星期一 放假 加班G3 6小时 夜班"},
        {Qt::Key_Right, "10月8日 星期二 加班G3 2小时 今天"},
        {Qt::Key_PageDown, "11月8日 星期五"},
        {Qt::Key_PageUp, "10月8日 星期二 加班G3 2小时 今天"},
        {Qt::Key_Down, "10月15日 星期二"},
    };
    for (const auto& step : walk) {
        QTest::keyClick(&calendar(), step.key);
        EXPECT_EQ(name(calendar()), QString::fromUtf8(step.name)) << step.name;
    }
    // From the 1st, Right visits every day of the month once.
    clickDay(1);
    QStringList days;
    for (int day = 1; day <= 31; ++day) {
        days << name(calendar()).section(u' ', 0, 0);
        QTest::keyClick(&calendar(), Qt::Key_Right);
    }
    EXPECT_EQ(days.size(), 31);
    EXPECT_EQ(days.front(), QStringLiteral("10月1日"));
    EXPECT_EQ(days.back(), QStringLiteral("10月31日"));
    EXPECT_EQ(days.removeDuplicates(), 0);
    EXPECT_EQ(form().日期框1->value(), makeDateTime(2013, 11, 1, 9, 30, 0));
    QTest::mouseClick(form().按钮上月, Qt::LeftButton);
    EXPECT_EQ(form().日期框1->value(), makeDateTime(2013, 10, 1, 9, 30, 0));
    // The month's last day when the next is shorter; no step beyond the year 9999.
    form().日期框1->setValue(makeDateTime(9999, 11, 30, 9, 30, 0));
    QTest::mouseClick(form().按钮下月, Qt::LeftButton);
    EXPECT_EQ(form().日期框1->value(), makeDateTime(9999, 12, 30, 9, 30, 0));
    QTest::mouseClick(form().按钮下月, Qt::LeftButton);
    EXPECT_EQ(form().日期框1->value(), makeDateTime(9999, 12, 30, 9, 30, 0));
    // Nor before the year 100.
    form().日期框1->setValue(makeDateTime(100, 2, 15, 9, 30, 0));
    QTest::mouseClick(form().按钮上月, Qt::LeftButton);
    EXPECT_EQ(form().日期框1->value(), makeDateTime(100, 1, 15, 9, 30, 0));
    QTest::mouseClick(form().按钮上月, Qt::LeftButton);
    EXPECT_EQ(form().日期框1->value(), makeDateTime(100, 1, 15, 9, 30, 0));
    form().日期框1->setValue(makeDateTime(2013, 1, 31, 9, 30, 0));
    QTest::mouseClick(form().按钮下月, Qt::LeftButton);
    EXPECT_EQ(form().日期框1->value(), makeDateTime(2013, 2, 28, 9, 30, 0));
}

TEST_F(CalendarPageTest, TheChartSaysEachMonthsFiguresAndTheYearsTotals) {
    QTest::mouseClick(form().单选框全年, Qt::LeftButton);
    EXPECT_FALSE(form().单选框月历->isChecked());
    ChartView& chart = *form().年图1;
    ASSERT_TRUE(chart.isVisible());
    EXPECT_FALSE(calendar().isVisible());
    EXPECT_TRUE(
        name(chart).endsWith(QStringLiteral("全年合计：加班G1 0小时 加班G2 0小时 加班G3 16小时 "
                                            "共16小时 事假 0小时 病假 0小时 旷工 0小时")));
    chart.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&chart, Qt::Key_End);
    QTest::keyClick(&chart, Qt::Key_Left);
    QTest::keyClick(&chart, Qt::Key_Left);
    EXPECT_TRUE(
        name(chart).startsWith(QStringLiteral("10月 加班G1 0小时 加班G2 0小时 加班G3 16小时")))
        << name(chart).toStdString();

    QTest::keyClick(&chart, Qt::Key_Home);
    EXPECT_TRUE(name(chart).startsWith(QStringLiteral("1月 "))) << name(chart).toStdString();
    for (int outside : {pictures::kMonthsInYear, -2}) {  // no month: the year's totals
        chart.setFocusedMonth(outside);
        EXPECT_EQ(chart.focusedMonth(), -1);
        EXPECT_TRUE(
            name(chart).endsWith(QStringLiteral("共16小时 事假 0小时 病假 0小时 旷工 0小时")));
    }
    // The pointer over a month's column shows its figures; off the columns, none.
    QPoint october;
    for (int x = 0; x < chart.width() && october.isNull(); ++x) {
        const QPoint p(x, chart.height() / 2);
        if (drawing::chartMonthAt(chart.chart(), chart.size(), p) == 9) october = p;
    }
    ASSERT_FALSE(october.isNull());
    QTest::mouseMove(&chart, {1, 1});
    QTest::mouseMove(&chart, october);
    EXPECT_EQ(chart.focusedMonth(), 9);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("加班G3 16小时")))
        << QToolTip::text().toStdString();
    QTest::mouseMove(&chart, {1, 1});
    for (int wait = 0; wait < 100 && QToolTip::isVisible(); ++wait) QTest::qWait(10);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(chart.focusedMonth(), -1);

    // With the pay record's months (the last write of a month counts; other
    // years not), their net pay is a line of the chart and in the figures.
    journal::StoreError error;
    for (const auto& [year, month, net] :
         {std::tuple(2013, 3, 8880'00), std::tuple(2012, 10, 1'00), std::tuple(2013, 10, 7000'05),
          std::tuple(2013, 10, 7100'05)}) {
        const payrecord::PayRow row{year, month, {}, 0, net, wages::Rules::Current};
        ASSERT_TRUE(payrecord::writeMonth(journalAccess(*app_), row, error)) << error.code;
    }
    QTest::mouseClick(form().单选框月历, Qt::LeftButton);
    QTest::mouseClick(form().单选框全年, Qt::LeftButton);
    EXPECT_TRUE(chart.chart().hasPay);
    EXPECT_TRUE(name(chart).endsWith(QStringLiteral("旷工 0小时 实发工资 15980.05元")))
        << name(chart).toStdString();
    chart.setFocusedMonth(9);
    EXPECT_TRUE(name(chart).endsWith(QStringLiteral("旷工 0小时 实发工资 7100.05元")))
        << name(chart).toStdString();
    chart.setFocusedMonth(1);
    EXPECT_FALSE(name(chart).contains(QStringLiteral("实发"))) << name(chart).toStdString();

    // A pay record that does not open with the journal's password is said
    // so, and the chart is drawn without it.
    std::filesystem::remove(app_->folder.tableFile(payrecord::kTableName));
    const payrecord::PayRow other{2013, 3, {}, 0, 1'00, wages::Rules::Current};
    ASSERT_TRUE(payrecord::writeMonth(app_->folder.journal("另一个"_gbk), other, error));
    QTest::mouseClick(form().单选框月历, Qt::LeftButton);
    QTest::mouseClick(form().单选框全年, Qt::LeftButton);
    ASSERT_FALSE(prompts_.messages().empty());
    EXPECT_TRUE(gbk::toUtf8(prompts_.messages().back().text).starts_with("读取工资记录失败："));
    EXPECT_FALSE(chart.chart().hasPay);
    EXPECT_TRUE(name(chart).endsWith(QStringLiteral("旷工 0小时")));
}

TEST_F(CalendarPageTest, EitherViewIsSavedAsAPictureWhereTheBoxSays) {
    const QString folder = dir_.path() + QStringLiteral("/图片");
    ASSERT_TRUE(QDir().mkpath(folder));
    prompts_.answerSaveFile((folder + QStringLiteral("/十月.SVG")).toStdString());
    emit calendar().saveRequested();
    QFile svg(folder + QStringLiteral("/十月.SVG"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    QString texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::Characters) texts += xml.text();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("2013年10月")));
    EXPECT_TRUE(texts.contains(QStringLiteral("本月合计")));
    ASSERT_EQ(prompts_.saves().size(), 1u);
    EXPECT_EQ(prompts_.saves()[0].suggested, "2013年10月.png");

    QTest::mouseClick(form().单选框全年, Qt::LeftButton);
    prompts_.answerSaveFile((folder + QStringLiteral("/chart")).toStdString());
    emit form().年图1->saveRequested();
    const QImage png(folder + QStringLiteral("/chart.png"));
    EXPECT_EQ(png.size(), form().年图1->size() * form().年图1->devicePixelRatioF());

    prompts_.answerSaveFile(std::nullopt);  // cancelled: nothing written, nothing said
    emit form().年图1->saveRequested();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);

    // A folder that is not there: the person is told, nothing is left.
    prompts_.answerSaveFile((folder + QStringLiteral("/无此目录/a.png")).toStdString());
    emit form().年图1->saveRequested();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.starts_with("保存图片失败："_gbk));

    // Never over a table file, whatever its name: known by its content.
    const QString copy = folder + QStringLiteral("/加班副本.png");
    ASSERT_TRUE(
        QFile::copy(QString::fromStdString(app_->folder.tableFile(journal::kTableName)), copy));
    const auto size = QFileInfo(copy).size();
    prompts_.answerSaveFile(copy.toStdString());
    emit form().年图1->saveRequested();
    ASSERT_EQ(prompts_.messages().size(), 2u);
    EXPECT_EQ(gbk::toUtf8(prompts_.messages()[1].text), "保存图片失败：指定文件不能被访问");
    EXPECT_EQ(QFileInfo(copy).size(), size);
}

// A page made when it is first shown has its controls bound then.
TEST_F(LazyFormTest, APageMadeWhenFirstShownIsBound) {
    form().高级选择夹1->setCurrentPage(kPageCalendar);
    QTest::mouseClick(form().按钮下月, Qt::LeftButton);
    EXPECT_EQ(monthOf(form().日期框1->value()), 11);
    form().高级选择夹1->setCurrentPage(kPageHelp);
    QTest::mouseClick(form().图形按钮1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(links_.opened.size(), 1u);
}

// The net-pay line joins neighbouring months only: across months missing
// from the pay record it leaves a gap.
TEST(ChartPicture, TheNetPayLineBreaksWhereAMonthIsMissing) {
    pictures::NetPaySeries pay{};
    for (const std::size_t month : {0U, 1U, 4U}) pay[month] = 8000'00;
    const pictures::YearChart chart =
        pictures::buildYearChart(2013, {}, {wages::Rules::Seed, nullptr}, pay);
    const QSize size(960, 600);
    QImage image(size, QImage::Format_ARGB32);
    QPainter painter(&image);
    drawing::paintYearChart(painter, chart, size);
    painter.end();
    // Whether the rose of net pay is anywhere on the line between two
    // months' columns (x = the first's right edge).
    const auto roseBetween = [&](int month) {
        const int x = static_cast<int>(drawing::chartMonthColumn(chart, size, month).right());
        for (int y = 0; y < size.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 140 && c.blue() > 80 && c.blue() < 180) return true;
        }
        return false;
    };
    EXPECT_TRUE(roseBetween(0));   // January to February
    EXPECT_FALSE(roseBetween(1));  // February to March: March is missing
    EXPECT_FALSE(roseBetween(3));  // April to May
}

}  // namespace
}  // namespace qinghe::app
