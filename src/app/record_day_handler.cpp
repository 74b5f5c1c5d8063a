#include "app/record_day_handler.h"

#include <QCheckBox>

#include "app/app_context.h"
#include "app/input_helpers.h"
#include "app/journal_support.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "journal/record_day.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/prompts.h"
#include "ui/text.h"
#include "ui/transparent_label.h"

namespace qinghe::app {

using namespace literals;

namespace {

// The status line's words for a recorded day: "已记录 10月8日 加班G1 2小时",
// or a day-kind record's remark: "已记录 10月8日 早班".
std::string recordedText(const MainForm& form, const journal::JournalRecord& record) {
    const CivilDate day = dateOf(record.date);
    const std::string said =
        "已记录 "_gbk + std::to_string(day.month) + "月"_gbk + std::to_string(day.day) + "日 "_gbk;
    for (const DayKindButton& kind : journal::dayKinds<ui::RadioButton*>()) {
        for (const journal::IntegerField& f : journal::kIntegerFields) {
            if (f.field == kind.field && record.*f.member != 0) {
                return said + ui::toGbk((form.*kind.button)->text()) + " " +
                       std::to_string(record.*f.member) + "小时"_gbk;
            }
        }
    }
    return said + record.remark;
}

}  // namespace

void recordDay(AppContext& app) {
    MainForm& form = app.form;
    journal::DayEntry entry{form.日期框1->value(), form.组合框->textGbk(), std::nullopt,
                            form.选择框夜班->isChecked()};
    for (const DayKindButton& kind : journal::dayKinds<ui::RadioButton*>()) {
        if (!entry.kind && (form.*kind.button)->isChecked()) entry.kind = kind.field;
    }
    journal::StoreError error;
    const journal::RecordOutcome outcome = journal::appendDay(journalAccess(app), entry, error);
    switch (outcome) {
        case journal::RecordOutcome::AlreadyRecorded:
            app.prompts.messageBox(journal::kAlreadyRecordedText,
                                   {ui::MessageButtons::Ok, ui::MessageIcon::Information});
            break;
        case journal::RecordOutcome::NotWholeHours:
        case journal::RecordOutcome::RemarkTooLong:
            app.prompts.messageBox(journal::refusalText(outcome, entry.text),
                                   {ui::MessageButtons::Ok, ui::MessageIcon::Warning});
            break;
        case journal::RecordOutcome::Failed:
            showJournalFailure(app, "记录"_gbk, error);
            break;
        case journal::RecordOutcome::Recorded:
            if (const auto record = journal::dayRecord(entry)) {
                form.标签状态->setCaptionGbk(recordedText(form, *record));
            }
            break;
        case journal::RecordOutcome::NoKind:
            break;
    }
}

}  // namespace qinghe::app
