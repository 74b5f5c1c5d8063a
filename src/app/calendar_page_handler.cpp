#include "app/calendar_page_handler.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/journal_support.h"
#include "app/journal_views.h"
#include "app/main_form.h"
#include "app/rules_choice.h"
#include "common/gbk.h"
#include "drawing/picture_file.h"
#include "journal/months_records.h"
#include "payrecord/pay_record.h"
#include "recordstore/errors.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/prompts.h"

namespace qinghe::app {
namespace {

using namespace literals;

bool showingYear(const MainForm& form) {
    return form.单选框全年->isChecked();
}

}  // namespace

void fillCalendarPage(AppContext& app) {
    MainForm& form = app.form;
    const bool year = showingYear(form);
    form.月历1->setVisible(!year);
    form.年图1->setVisible(year);
    const DateTime picked = form.日期框1->value();
    const int y = yearOf(picked), m = monthOf(picked);
    std::vector<journal::JournalRecord> records;
    journal::StoreError error;
    if (!journal::readMonthsRecords(journalAccess(app), y, year ? 1 : m, year ? 12 : m, records,
                                    error)) {
        showJournalFailure(app, "月历"_gbk, error);
        return;
    }
    if (year) {
        // The net pay of the months the pay record holds; the chart without
        // it when the pay record cannot be read (said so).
        std::vector<payrecord::PayRow> paid;
        if (!payrecord::readPayRows(journalAccess(app), paid, error)) {
            showJournalFailure(app, "读取工资记录"_gbk, error);
        }
        form.年图1->setChart(
            pictures::buildYearChart(y, records, dayRules(app), payrecord::netPayOfYear(paid, y)));
    } else {
        form.月历1->setCalendar(
            pictures::buildMonthCalendar(y, m, records, app.clock.now(), dayRules(app)), picked);
    }
}

void chooseCalendarView(AppContext& app, bool year) {
    app.form.单选框月历->setChecked(!year);
    app.form.单选框全年->setChecked(year);
    fillCalendarPage(app);
}

void pickCalendarDay(AppContext& app, DateTime date) {
    const DateTime now = app.form.日期框1->value();
    app.form.日期框1->setValue(dateOnly(date) + (now - dateOnly(now)));
    onDateChanged(app);
    fillCalendarPage(app);
}

void stepCalendarMonth(AppContext& app, int months) {
    const DateTime picked = app.form.日期框1->value();
    const int index = yearOf(picked) * 12 + monthOf(picked) - 1 + months;
    const int year = index / 12, month = index % 12 + 1;
    if (year < kMinYear || year > kMaxYear) return;
    pickCalendarDay(app, makeDate(year, month, std::min(dayOf(picked), daysInMonth(year, month))));
}

void saveCalendarPicture(AppContext& app) {
    MainForm& form = app.form;
    const bool year = showingYear(form);
    const std::string title = year ? form.年图1->chart().title : form.月历1->calendar().title;
    std::string path;
    if (!app.prompts.saveFileBox(path, "另存为图片"_gbk, gbk::toUtf8(title) + ".png",
                                 "PNG 图片 (*.png);;SVG 图片 (*.svg)"_gbk)) {
        return;
    }
    std::optional<drawing::PictureFormat> format = drawing::pictureFormatOf(path);
    if (!format) {
        path += ".png";
        format = drawing::PictureFormat::Png;
    }
    QWidget& view = year ? static_cast<QWidget&>(*form.年图1) : *form.月历1;
    const double ratio = view.devicePixelRatioF();
    const std::string bytes =
        year ? drawing::yearChartPicture(form.年图1->chart(), view.width(), view.height(), *format,
                                         ratio)
             : drawing::monthCalendarPicture(form.月历1->calendar(), view.width(), view.height(),
                                             *format, ratio);
    const datafolder::WrittenOutside written = app.folder.writeOutside(path, bytes);
    if (!written.ok()) {
        // The folder's own files and table files are refused as a file the
        // system forbids.
        const bool refused = written.refused != datafolder::OutsideRefusal::None;
        const int code = recordstore::fileErrorCode(refused ? -EACCES : written.error);
        app.prompts.messageBox("保存图片失败："_gbk + recordstore::errorMessage(code),
                               {ui::MessageButtons::Ok, ui::MessageIcon::Error});
    }
}

}  // namespace qinghe::app
